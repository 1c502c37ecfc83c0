// The overlay panel: one mode change with its placement, as arithmetic alone and through the
// controller with its panel on the offscreen platform; and how often an idle panel wakes up.
#include "bench_main.h"
#include "core/state/app_state.h"
#include "fake_state_services.h"
#include "platform/fake/fake_floating_windows.h"
#include "platform/fake/manual_clock.h"
#include "ui/overlay/placement/dictation_preview_layout.h"
#include "ui/overlay/placement/overlay_controller.h"
#include "ui/overlay/placement/overlay_sizes.h"
#include "ui/overlay/placement/qt_screen_source.h"
#include "ui/overlay/placement/widget_placement.h"

#include <QApplication>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

const QList<ScreenRecord> twoScreens{
    {.id = 1, .frame = {0, 0, 1440, 900}, .visibleFrame = {0, 40, 1440, 835}},
    {.id = 2, .frame = {1440, 0, 1920, 1080}, .visibleFrame = {1440, 0, 1920, 1080}},
};

// Counts the callbacks its timers run: the wake-ups an idle app would pay for.
class CountingClock final : public Clock {
public:
    QDateTime now() const override { return m_clock.now(); }
    qint64 elapsedMs() const override { return m_clock.elapsedMs(); }
    TimerId singleShot(int delayMs, QObject* context, std::function<void()> fn) override
    {
        return m_clock.singleShot(delayMs, context, counted(std::move(fn)));
    }
    TimerId repeating(int intervalMs, QObject* context, std::function<void()> fn) override
    {
        return m_clock.repeating(intervalMs, context, counted(std::move(fn)));
    }
    void cancel(TimerId id) override { m_clock.cancel(id); }

    void advance(qint64 ms) { m_clock.advance(ms); }
    qint64 wakeUps = 0;

private:
    std::function<void()> counted(std::function<void()> fn)
    {
        return [this, fn = std::move(fn)] {
            ++wakeUps;
            fn();
        };
    }
    ManualClock m_clock;
};

// The shared state on fakes, as the program builds it, and the controller on Qt's screens.
class OverlayRig {
public:
    explicit OverlayRig(const std::function<void(QuendaConfig&)>& change)
    {
        QuendaConfig config = m_state.config();
        config.showWidget = false;
        config.widgetFollowActiveScreen = false;
        change(config);
        m_state.setConfig(config);
        m_controller = std::make_unique<OverlayController>(
            m_state, OverlayController::Services{
                         .clock = m_services.clock, .screens = m_screens, .windows = m_floating});
    }
    AppState& state() { return m_state; }
    CountingClock& clock() { return m_services.clock; }

private:
    FakeStateServices<CountingClock> m_services;
    AppState m_state{m_services.forState()};
    QtScreenSource m_screens;
    FakeFloatingWindows m_floating;
    std::unique_ptr<OverlayController> m_controller;
};

void BM_PlacementOfAModeChange(benchmark::State& state)
{
    const DictationPreviewLayout layout;
    const OverlayInputs in{
        .phase = Phase::Kind::Listening, .widgetX = 0.3, .widgetY = 0.1, .widgetDisplayID = 2};
    const QRectF panel(500, 52, 64, 48);
    OverlayMode mode = OverlayMode::Collapsed;
    for (auto _ : state) {
        mode = mode == OverlayMode::Bar ? OverlayMode::Collapsed : OverlayMode::Bar;
        const WidgetPlacement placement(twoScreens, {700, 400}, panel, in);
        benchmark::DoNotOptimize(placement.frame(OverlaySizes::panelSize(mode, in, layout), mode, {}));
    }
}
BENCHMARK(BM_PlacementOfAModeChange)->Unit(benchmark::kMicrosecond);

// Every candidate covers the pointer: the longest search.
void BM_PreviewPlacementClearOfThePointer(benchmark::State& state)
{
    const ScreenRecord tiny{.id = 1, .frame = {0, 0, 400, 340}, .visibleFrame = {0, 40, 400, 300}};
    const WidgetPlacement placement({tiny}, {200, 190}, {}, OverlayInputs{});
    for (auto _ : state)
        benchmark::DoNotOptimize(placement.placementClearOfWorkArea({0, 190}, {300, 200}, tiny));
}
BENCHMARK(BM_PreviewPlacementClearOfThePointer)->Unit(benchmark::kMicrosecond);

// A dictation starting (the bar at once) and ending (the chip after the delay): two mode changes,
// each with its placement and the panel's new geometry.
void BM_ControllerGrowAndShrink(benchmark::State& state)
{
    OverlayRig widget([](QuendaConfig& c) { c.showWidget = true; });
    for (auto _ : state) {
        widget.state().setPhase(Phase::listening());
        widget.state().setPhase(Phase::idle());
        widget.clock().advance(OverlayController::shrinkDelayMs);
    }
    state.SetItemsProcessed(2 * state.iterations());
}
BENCHMARK(BM_ControllerGrowAndShrink)->Unit(benchmark::kMicrosecond);

// Timer wake-ups per idle minute: none for an idle hidden widget; a card pinned under the pointer
// polls ten times a second while it is shown.
void BM_WakeUpsPerMinute(benchmark::State& state)
{
    const bool pinnedCard = state.range(0) != 0;
    OverlayRig widget([](QuendaConfig& c) {
        c.resultPlacementFixed = true;
        c.resultPlacementScreen = QStringLiteral("pointer");
    });
    if (pinnedCard)
        widget.state().setOverlayResult(
            OverlayResult{QStringLiteral("shorten"), QStringLiteral("Short."), {}});
    widget.clock().advance(1000);
    widget.clock().wakeUps = 0;
    qint64 minutes = 0;
    for (auto _ : state) {
        widget.clock().advance(60 * 1000);
        ++minutes;
    }
    state.counters["wakeups_per_minute"] = double(widget.clock().wakeUps) / double(minutes);
    state.SetLabel(pinnedCard ? "card pinned under the pointer" : "idle, hidden");
}
BENCHMARK(BM_WakeUpsPerMinute)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    return Bench::runInTempDataRoot<QApplication>(argc, argv);
}
