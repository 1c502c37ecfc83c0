#pragma once

#include "core/base/support_paths.h"
#include "core/base/timing.h"

#include <QTemporaryDir>

#include <gmock/gmock.h>

// Runs every test with the support folder in a temporary one, so that the timing log backends
// write never lands in $HOME. For a suite with a main() of its own; the caller builds the
// application object first.
inline int runTestsInTempDataRoot(int& argc, char** argv)
{
    const QTemporaryDir dataRoot;
    SupportPaths::setDataRoot(dataRoot.path());
    ::testing::InitGoogleMock(&argc, argv);
    const int result = RUN_ALL_TESTS();
    // Written out while its folder still exists.
    Timing::flush();
    return result;
}
