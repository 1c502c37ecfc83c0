#include "clipboard_owner.h"

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
    return RUN_ALL_TESTS();
}
