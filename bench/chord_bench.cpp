// From the paste asked for to the chord posted, through XTest on the X server of $DISPLAY and
// through the virtual keyboard on the Wayland compositor of the test services (or
// $WAYLAND_DISPLAY). Nothing needs to have the focus. Run inside scripts/with-services.
#include "core/base/system_clock.h"
#include "platform/linux/keys/chord_synthesizer.h"
#include "platform/linux/wayland/virtual_keyboard.h"
#include "platform/linux/wayland/wayland_connection.h"
#include "platform/linux/x11/xtest_keyboard.h"

#include <QCoreApplication>

#include <benchmark/benchmark.h>

namespace {

void postChords(benchmark::State& state, SyntheticKeyboard& keyboard)
{
    SystemClock clock;
    ChordSynthesizer synth(keyboard, clock);
    QObject context;
    for (auto _ : state) {
        std::optional<bool> posted;
        synth.post(KeySynthesizer::Chord::Paste, KeySynthesizer::Target::Application, &context,
                   [&](const KeySynthesizer::Outcome& outcome) { posted = outcome.ok(); });
        while (!posted)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        if (!*posted) {
            state.SkipWithError("the chord was not posted");
            break;
        }
    }
}

void chordPostedOnX11(benchmark::State& state)
{
    // Kept between repetitions, as the program keeps it: Xvfb resets when its last client leaves.
    static XTestKeyboard keyboard;
    if (!keyboard.state().ok()) {
        state.SkipWithError("no X server with XTest: run inside scripts/with-services");
        return;
    }
    postChords(state, keyboard);
}

void chordPostedOnWayland(benchmark::State& state)
{
    static const QByteArray sway = qgetenv("QUENDA_SWAY_WAYLAND_DISPLAY");
    static WaylandConnection connection(sway.isEmpty() ? qgetenv("WAYLAND_DISPLAY") : sway);
    static VirtualKeyboard keyboard(connection);
    if (!keyboard.unavailable().isEmpty()) {
        state.SkipWithError("no virtual keyboard on the Wayland compositor");
        return;
    }
    postChords(state, keyboard);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RegisterBenchmark("ChordPostedThroughXTest", chordPostedOnX11)->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("ChordPostedThroughTheVirtualKeyboard", chordPostedOnWayland)
        ->Unit(benchmark::kMicrosecond);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
