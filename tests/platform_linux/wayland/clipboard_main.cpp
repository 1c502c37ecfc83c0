#include "kwin_process.h"
#include "wayland_peers.h"

#include <QCoreApplication>

#include <gmock/gmock.h>

int ownClipboard(const QList<PasteboardItem>& items, const QString& mode);

// The suite's binary doubles as the other program on the compositor; this main stands in for the
// shared one, which only a missing main pulls from its library.
int main(int argc, char** argv)
{
    if (const int child = WaylandPeers::ClipboardOwner::runChild(argc, argv, ownClipboard); child >= 0)
        return child;
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleMock(&argc, argv);
    // The suite and the other programs it starts talk to the headless sway of the test services, or
    // once more to KDE's compositor.
    std::optional<KwinProcess> kwin;
    if (qgetenv("QUENDA_CLIPBOARD_COMPOSITOR") == "kwin") {
        kwin.emplace();
        const QByteArray display = kwin->waylandDisplay();
        qputenv("WAYLAND_DISPLAY", display.isEmpty() ? QByteArray("/nonexistent/kwin") : display);
    } else if (qEnvironmentVariableIsSet("QUENDA_SWAY_WAYLAND_DISPLAY")) {
        qputenv("WAYLAND_DISPLAY", qgetenv("QUENDA_SWAY_WAYLAND_DISPLAY"));
    }
    return RUN_ALL_TESTS();
}
