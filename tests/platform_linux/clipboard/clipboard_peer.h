#pragma once

#include "platform/pasteboard_item.h"

#include <QList>
#include <QProcess>
#include <QStringList>

#include <memory>

// Another program on the same X server: this test binary run again as a child, which either takes
// the clipboard with the given items and serves them until it is stopped, or reads the clipboard
// once and exits.
class ClipboardPeer final {
public:
    // Recognises the child's command line and runs it; -1 when this is no child.
    static int runChild(int argc, char** argv);

    // Starts a child that owns the clipboard once this returns true.
    bool serve(const QList<PasteboardItem>& items);
    // The clipboard as a child reads it: every type on offer with its bytes; absent on failure.
    static std::optional<QList<PasteboardItem>> read();

    ~ClipboardPeer();

private:
    std::unique_ptr<QProcess> m_process;
};
