#include "run_tests.h"
#include "xtest_keyboard.h"

#include <QGuiApplication>

// The fallback is seen only by windows, which need a QGuiApplication; with main defined here the
// support library's QCoreApplication main is never linked in.
int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    // Xvfb resets when its last client leaves and refuses connections meanwhile; a connection held
    // for the whole run keeps it up between tests.
    const XTestKeyboard keepServerUp;
    // The key source notes in the timing log why it falls back.
    return runTestsInTempDataRoot(argc, argv);
}
