#include "core/base/support_paths.h"
#include "core/base/timing.h"

#include <QGuiApplication>
#include <QTemporaryDir>

#include <gmock/gmock.h>

// The clipboard backend needs a QGuiApplication on the X server; the timing log must not land in
// $HOME.
int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    QTemporaryDir dataRoot;
    SupportPaths::setDataRoot(dataRoot.path());
    ::testing::InitGoogleMock(&argc, argv);
    const int result = RUN_ALL_TESTS();
    Timing::flush();
    return result;
}
