#pragma once

#include "platform/pasteboard_item.h"

#include <QList>
#include <QProcess>
#include <QString>

#include <memory>

// Another program on the compositor's seat: this test binary run again as a child that takes the
// clipboard and keeps it until it is stopped, either serving its items or failing to answer.
class ClipboardOwner final {
public:
    // How an owner that never finishes sends its data.
    enum class Stall { Silent, AfterSomeBytes, Trickling };

    // Recognises the child's command line and runs it; -1 when this is no child.
    static int runChild(int argc, char** argv);

    // Starts a child that owns the clipboard with these items once this returns true.
    bool own(const QList<PasteboardItem>& items);
    // Starts a child offering `type` that never finishes sending it.
    bool ownWithoutAnswering(const QString& type, Stall stall);

    ~ClipboardOwner();

private:
    bool start(const QStringList& arguments, const QByteArray& input);

    std::unique_ptr<QProcess> m_process;
};
