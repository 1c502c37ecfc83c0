// From an answer set on the shared state to the result card painted offscreen: the card is
// built, laid out and drawn with its shadow, as when a spoken command returns.
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
#include "ui/kit/theme.h"
#include "ui/overlay/overlay_view.h"

#include <QApplication>
#include <QImage>
#include <QSettings>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

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

void BM_ResultSetToCardPainted(benchmark::State& bench)
{
    Services s;
    AppState state({s.clock, s.probe, s.launcher, s.windows, s.work, s.appleNotes, s.settings});
    OverlayView view(state, s.clock);
    view.resize(640, 560);
    view.show();
    QApplication::processEvents();
    QImage frame(view.size(), QImage::Format_ARGB32_Premultiplied);
    const bool choices = bench.range(0) != 0;
    int n = 0;
    for (auto _ : bench) {
        OverlayResult result{
            QStringLiteral("make it shorter"),
            QStringLiteral("A short answer, number %1, that fits on a couple of lines of the card.").arg(++n),
            std::nullopt};
        if (choices)
            result.choices = QList<OverlayResultChoice>{
                {OverlayResultChoice::Kind::Command, QStringLiteral("Answer"), result.text},
                {OverlayResultChoice::Kind::Reformulate, QStringLiteral("Reworded"),
                 QStringLiteral("Reworded.")}};
        state.setOverlayResult(result);
        QApplication::processEvents();
        frame.fill(Qt::transparent);
        view.render(&frame, QPoint(), QRegion(), QWidget::DrawChildren);
        benchmark::DoNotOptimize(frame.constBits());
        bench.PauseTiming();
        // The next answer finds no card, as after the user closed this one.
        state.setOverlayResult(std::nullopt);
        QApplication::processEvents();
        bench.ResumeTiming();
    }
}
BENCHMARK(BM_ResultSetToCardPainted)
    ->Arg(0)
    ->Arg(1)
    ->ArgName("choices")
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(9)
    ->ReportAggregatesOnly(true);

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
