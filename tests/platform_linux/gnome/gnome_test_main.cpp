#include "run_tests.h"
#include "wayland_peers.h"

#include "platform/linux/gnome/mutter_pasteboard.h"
#include "platform/linux/gnome/mutter_remote_desktop.h"

#include <QGuiApplication>
#include <QTimer>

namespace {

// Another remote-desktop client of the compositor owning the clipboard.
int own(const QList<PasteboardItem>& items, const QString&)
{
    MutterRemoteDesktop desktop;
    MutterPasteboard board(desktop);
    // Written once the loop runs: our notice of the write is how the test learns it owns the clipboard.
    QTimer::singleShot(0, &board, [&] {
        board.write(items);
        if (!board.unavailableReason().isEmpty() || board.types().isEmpty())
            QCoreApplication::exit(3);
        else
            WaylandPeers::ClipboardOwner::owned();
    });
    return QCoreApplication::exec();
}

} // namespace

// The binary doubles as the tests' other clipboard owner; with main defined here the support
// library's main is never linked in.
int main(int argc, char** argv)
{
    // The test services run more than one compositor; this suite and its children talk to GNOME's.
    if (qEnvironmentVariableIsSet("QUENDA_MUTTER_WAYLAND_DISPLAY"))
        qputenv("WAYLAND_DISPLAY", qgetenv("QUENDA_MUTTER_WAYLAND_DISPLAY"));
    if (const int child = WaylandPeers::ClipboardOwner::runChild(argc, argv, own); child >= 0)
        return child;
    QGuiApplication app(argc, argv);
    return runTestsInTempDataRoot(argc, argv);
}
