// From an answer set on the shared state to the result card painted offscreen: the card is
// built, laid out and drawn with its shadow, as when a spoken command returns.
#include "core/state/app_state.h"
#include "fake_state_services.h"
#include "platform/fake/manual_clock.h"
#include "still_overlay_main.h"
#include "ui/overlay/overlay_view.h"

#include <QApplication>
#include <QImage>

#include <benchmark/benchmark.h>

namespace {

void BM_ResultSetToCardPainted(benchmark::State& bench)
{
    FakeStateServices<> s;
    AppState state(s.forState(true));
    OverlayView view(state, s.commands, s.clock);
    view.setCardsStay(true);
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
    return Bench::runStillOverlay(argc, argv);
}
