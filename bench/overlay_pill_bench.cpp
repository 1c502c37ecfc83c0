// One frame of the overlay's pill while listening, painted offscreen into an image, and the
// one-time blur of its shadow for a new size.
#include "core/state/app_state.h"
#include "fake_state_services.h"
#include "platform/fake/manual_clock.h"
#include "still_overlay_main.h"
#include "ui/kit/soft_shadow.h"
#include "ui/overlay/overlay_view.h"

#include <QApplication>
#include <QImage>

#include <benchmark/benchmark.h>

#include <cmath>

namespace {

void BM_PillListeningFrame(benchmark::State& bench)
{
    FakeStateServices<> s;
    AppState state(s.forState(true));
    state.setPhase(Phase::listening());
    OverlayView view(state, s.commands, s.clock);
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
    return Bench::runStillOverlay(argc, argv);
}
