#pragma once

#include "platform/pasteboard_item.h"

#include <QList>
#include <QProcess>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

// Other programs of a test compositor's session, each a child process: GTK and Qt fields, another
// program owning the clipboard, and the wl-clipboard tools. They talk to the compositor of
// WAYLAND_DISPLAY unless given another. The event loop runs while waiting on them: this process
// may be the one serving what they read.
namespace WaylandPeers {

// Spins the event loop until `done` or the limit.
bool waitFor(const std::function<bool()>& done, int limitMs = 10'000);

// The headless sway of the test services, or the compositor of WAYLAND_DISPLAY.
QByteArray swayDisplay();

// The headless GNOME compositor of the test session is there to talk to.
bool compositorPresent();

// A child process, ended when this goes: by closing its input, or at once when it never reads it.
class Peer {
public:
    Peer() = default;
    ~Peer();
    Q_DISABLE_COPY_MOVE(Peer)

    // Ends it now; whether it ended.
    bool stop();

protected:
    // Starts `program` as a client of the compositor at `display`, writing `input` to it.
    void start(const QString& program, const QStringList& arguments, QProcessEnvironment environment,
               const QByteArray& input = {});

    QProcess m_process;
    bool m_endsWithInput = true;
};

// The environment of a native client of the compositor at `display` (WAYLAND_DISPLAY when empty).
QProcessEnvironment clientEnvironment(const QByteArray& display);

// A window with one text field; reports the focus and every text it shows.
class Field final : public Peer {
public:
    // Qt natively on Wayland or as an X client of the GNOME compositor's XWayland.
    enum class Toolkit { Gtk, Qt, QtXWayland };
    explicit Field(Toolkit toolkit, const QByteArray& display = {});

    // The field has the keyboard focus.
    bool focused();
    // Waits until the field shows `text`; the last text it showed otherwise.
    QString waitForText(const QString& text);

private:
    void readLines();

    bool m_focused = false;
    QString m_text;
};

// This binary again, as another program that puts `items` on the clipboard and serves them until it
// is destroyed. `mode` tells the suite's child how to serve them.
class ClipboardOwner final : public Peer {
public:
    explicit ClipboardOwner(const QList<PasteboardItem>& items, const QString& mode = {});

    bool owns() const { return m_owns; }

    // The child's part: owns the clipboard, says owned(), and runs the event loop until asked to end.
    using Own = std::function<int(const QList<PasteboardItem>& items, const QString& mode)>;
    // Recognises the child's command line and runs `own`; -1 when this is no child.
    static int runChild(int argc, char** argv, const Own& own);
    static void owned();

private:
    bool m_owns = false;
};

// wl-copy serving `data` until destroyed or displaced; as text of its own guess without a type.
// As the primary selection, it stands for text the user selected.
class WlCopy final : public Peer {
public:
    WlCopy(const QString& type, const QByteArray& data, const QByteArray& display = {}, bool primary = false);

    // Waits until another program reads the data.
    bool offered() const;

private:
    const QString m_type;
    const QByteArray m_data;
    const QByteArray m_display;
    const bool m_primary;
};

// wl-paste for the type, its output going to `path`.
class WlPasteInto final : public Peer {
public:
    WlPasteInto(const QString& type, const QString& path);
};

// What wl-paste reads; absent when the clipboard is empty or the read failed.
std::optional<QByteArray> wlPaste(const QString& type = {}, const QByteArray& display = {});
// The types wl-paste lists; empty for an empty clipboard.
QStringList wlTypes();
// The primary selection's text as wl-paste reads it; absent when there is none.
std::optional<QByteArray> wlPastePrimary(const QByteArray& display = {});

} // namespace WaylandPeers
