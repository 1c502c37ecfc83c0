#include "clipboard_peer.h"

#include <QGuiApplication>

#include <gmock/gmock.h>

// This suite needs a QGuiApplication, and its binary doubles as the other program on the X server;
// this main stands in for the shared one, which only a missing main pulls from its library.
int main(int argc, char** argv)
{
    if (const int child = ClipboardPeer::runChild(argc, argv); child >= 0)
        return child;
    QGuiApplication app(argc, argv);
    ::testing::InitGoogleMock(&argc, argv);
    return RUN_ALL_TESTS();
}
