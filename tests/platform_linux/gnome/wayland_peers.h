#pragma once

#include "platform/pasteboard_item.h"

#include <QList>
#include <QProcess>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>

// Other programs of the compositor's session, each a child process: the Wayland tests' GTK and Qt
// fields, another remote-desktop client owning the clipboard, and the wl-clipboard tools. The event
// loop runs while waiting on them (unlike the Wayland tests' FieldProcess): this process serves the
// clipboard they read.
namespace WaylandPeers {

// Spins the event loop until `done` or the limit.
bool waitFor(const std::function<bool()>& done, int limitMs = 10'000);

// The headless compositor of the test session is there to talk to.
bool compositorPresent();

// A window with one text field; reports the focus and every text it shows.
class Field final {
public:
    // Qt natively on Wayland or as an X client of the compositor's XWayland.
    enum class Toolkit { Gtk, Qt, QtXWayland };
    explicit Field(Toolkit toolkit);
    ~Field();
    Q_DISABLE_COPY_MOVE(Field)

    // The field has the keyboard focus.
    bool focused();
    // Waits until the field shows `text`; the last text it showed otherwise.
    QString waitForText(const QString& text);

private:
    void readLines();

    QProcess m_process;
    bool m_focused = false;
    QString m_text;
};

// This binary again, as another remote-desktop client that puts `items` on the clipboard and
// serves them until it is destroyed.
class ClipboardOwner final {
public:
    explicit ClipboardOwner(const QList<PasteboardItem>& items);
    ~ClipboardOwner();
    Q_DISABLE_COPY_MOVE(ClipboardOwner)

    bool owns() const { return m_owns; }
    static int runChild(int argc, char** argv);

private:
    QProcess m_process;
    bool m_owns = false;
};

// wl-copy serving one type until destroyed or displaced.
class WlCopy final {
public:
    WlCopy(const QString& type, const QByteArray& data);
    ~WlCopy();
    Q_DISABLE_COPY_MOVE(WlCopy)

private:
    QProcess m_process;
};

// What wl-paste reads; absent when the clipboard is empty or the read failed.
std::optional<QByteArray> wlPaste(const QString& type = {});
// The types wl-paste lists; empty for an empty clipboard.
QStringList wlTypes();

} // namespace WaylandPeers
