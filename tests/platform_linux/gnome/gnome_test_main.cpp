#include "run_tests.h"
#include "wayland_peers.h"

#include <QGuiApplication>

// The binary doubles as the other programs of the tests (a Qt field, another clipboard owner);
// with main defined here the support library's main is never linked in.
int main(int argc, char** argv)
{
    if (const int child = WaylandPeers::Field::runChild(argc, argv); child >= 0)
        return child;
    if (const int child = WaylandPeers::ClipboardOwner::runChild(argc, argv); child >= 0)
        return child;
    QGuiApplication app(argc, argv);
    return runTestsInTempDataRoot(argc, argv);
}
