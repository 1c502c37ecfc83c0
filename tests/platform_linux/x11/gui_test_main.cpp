#include "core/base/support_paths.h"
#include "core/base/timing.h"
#include "xtest_keyboard.h"

#include <QGuiApplication>
#include <QTemporaryDir>

#include <gmock/gmock.h>

// The fallback is seen only by windows, which need a QGuiApplication; with main defined here the
// support library's QCoreApplication main is never linked in.
int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    // Xvfb resets when its last client leaves and refuses connections meanwhile; a connection held
    // for the whole run keeps it up between tests.
    const XTestKeyboard keepServerUp;
    // The key source notes in the timing log why it falls back; that log must not land in $HOME.
    QTemporaryDir dataRoot;
    SupportPaths::setDataRoot(dataRoot.path());
    ::testing::InitGoogleMock(&argc, argv);
    const int result = RUN_ALL_TESTS();
    Timing::flush();
    return result;
}
