#pragma once

#include "bench_main.h"
#include "ui/kit/theme.h"

#include <QApplication>

namespace Bench {

// The overlay offscreen as in snapshots: with animations off every iteration paints the same frame.
inline int runStillOverlay(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    return runInTempDataRoot<QApplication>(argc, argv, [] { Theme::setAnimated(false); });
}

} // namespace Bench
