#include "clipboard_owner.h"
#include "kwin_process.h"

#include <QCoreApplication>

#include <gmock/gmock.h>

// The suite's binary doubles as the other program on the compositor; this main stands in for the
// shared one, which only a missing main pulls from its library.
int main(int argc, char** argv)
{
    if (const int child = ClipboardOwner::runChild(argc, argv); child >= 0)
        return child;
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleMock(&argc, argv);
    if (qgetenv("QUENDA_CLIPBOARD_COMPOSITOR") != "kwin")
        return RUN_ALL_TESTS();
    // The suite once more on KDE's compositor; the other programs it starts find it too.
    KwinProcess kwin;
    const QByteArray display = kwin.waylandDisplay();
    qputenv("QUENDA_CLIPBOARD_WAYLAND_DISPLAY",
            display.isEmpty() ? QByteArray("/nonexistent/kwin") : display);
    return RUN_ALL_TESTS();
}
