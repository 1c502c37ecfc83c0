#pragma once

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

// wl-copy and wl-paste, the command-line clipboard of wlroots desktops, as another program on the
// test compositor. Each waits with the event loop running: this process may be the one serving.
namespace WlClipboard {

// The compositor under test: the one the run names in QUENDA_CLIPBOARD_WAYLAND_DISPLAY, else sway.
QByteArray display();

// Stops the process when it goes.
struct Stop {
    void operator()(QProcess* process) const;
};
using Running = std::unique_ptr<QProcess, Stop>;

// wl-copy owning the clipboard with one type, until the process ends.
Running copy(const QString& type, const QByteArray& bytes);
// What wl-paste reads for the type; absent when it fails.
std::optional<QByteArray> paste(const QString& type);
// The types wl-paste lists, in order; absent when it fails, as it does on an empty clipboard.
std::optional<QStringList> types();
// wl-paste for the type, its output going to `path`.
Running pasteInto(const QString& type, const QString& path);

} // namespace WlClipboard
