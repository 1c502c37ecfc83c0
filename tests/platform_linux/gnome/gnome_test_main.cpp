#include "run_tests.h"
#include "wayland_peers.h"

#include <QGuiApplication>

// The binary doubles as the tests' other clipboard owner; with main defined here the support
// library's main is never linked in.
int main(int argc, char** argv)
{
    // The test services run more than one compositor; this suite and its children talk to GNOME's.
    if (qEnvironmentVariableIsSet("QUENDA_MUTTER_WAYLAND_DISPLAY"))
        qputenv("WAYLAND_DISPLAY", qgetenv("QUENDA_MUTTER_WAYLAND_DISPLAY"));
    if (const int child = WaylandPeers::ClipboardOwner::runChild(argc, argv); child >= 0)
        return child;
    QGuiApplication app(argc, argv);
    return runTestsInTempDataRoot(argc, argv);
}
