// One frame of the overlay's pill while listening, painted offscreen into an image, and the
// one-time blur of its shadow for a new size.
#include "core/base/run_mode.h"
#include "core/base/support_paths.h"
#include "core/base/work_queue.h"
#include "core/notes/apple_notes.h"
#include "core/state/app_state.h"
#include "platform/fake/fake_desktop_launcher.h"
#include "platform/fake/fake_permission_probe.h"
#include "platform/fake/fake_script_runner.h"
#include "platform/fake/fake_window_system.h"
#include "platform/fake/manual_clock.h"
#include "ui/kit/soft_shadow.h"
#include "ui/kit/theme.h"
#include "ui/overlay/overlay_view.h"

#include <QApplication>
#include <QImage>
#include <QSettings>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cmath>

namespace {

struct Services {
    QTemporaryDir dir;
    ManualClock clock;
    FakePermissionProbe probe;
    FakeDesktopLauncher launcher;
    FakeWindowSystem windows;
    WorkQueue work;
    FakeScriptRunner runner;
    QSettings settings{dir.filePath(QStringLiteral("defaults.ini")), QSettings::IniFormat};
    AppleNotes appleNotes{runner, settings};
};

void BM_PillListeningFrame(benchmark::State& bench)
{
    Services s;
    AppState state({s.clock, s.probe, s.launcher, s.windows, s.work, s.appleNotes, s.settings});
    state.setPhase(Phase::listening());
    OverlayView view(state, s.clock);
    view.resize(280, 110);
    view.show();
    QApplication::processEvents();
    QImage frame(view.size(), QImage::Format_ARGB32_Premultiplied);
    int tick = 0;
    for (auto _ : bench) {
        // A new level and a clock step per frame, as while someone speaks.
        state.pushLevel(0.5 + 0.4 * std::sin(tick * 0.7));
        state.setElapsed(tick * 0.1);
        ++tick;
        frame.fill(Qt::transparent);
        view.render(&frame, QPoint(), QRegion(), QWidget::DrawChildren);
        benchmark::DoNotOptimize(frame.constBits());
    }
}
BENCHMARK(BM_PillListeningFrame)->Unit(benchmark::kMicrosecond);

void BM_PillShadowFirstBlur(benchmark::State& bench)
{
    for (auto _ : bench) {
        const SoftShadow shadow(SoftShadowStyle::Bar);
        benchmark::DoNotOptimize(shadow.pixmap({196, 38}, 1.0));
    }
}
BENCHMARK(BM_PillShadowFirstBlur)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    SupportPaths::setDataRoot(dir.path());
    RunMode::setSnapshot(true);
    Theme::setAnimated(false);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
