// From the paste asked for to the chord posted, through XTest on the X server of $DISPLAY and
// through the virtual keyboard on the Wayland compositor of the test services (or
// $WAYLAND_DISPLAY), where nothing needs to have the focus, and through GNOME's remote-desktop
// session on the test services' mutter; and on the virtual keyboard's compositor, to the pasted text
// read back from a GTK field. Run inside scripts/with-services.
#include "wayland_peers.h"

#include "core/base/system_clock.h"
#include "platform/linux/gnome/mutter_keyboard.h"
#include "platform/linux/gnome/mutter_remote_desktop.h"
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

QByteArray waylandDisplay()
{
    const QByteArray sway = qgetenv("QUENDA_SWAY_WAYLAND_DISPLAY");
    return sway.isEmpty() ? qgetenv("WAYLAND_DISPLAY") : sway;
}

// Made once and kept, as the program keeps it.
VirtualKeyboard& virtualKeyboard()
{
    static WaylandConnection connection(waylandDisplay());
    static VirtualKeyboard keyboard(connection);
    return keyboard;
}

void chordPostedOnWayland(benchmark::State& state)
{
    if (!virtualKeyboard().unavailable().isEmpty()) {
        state.SkipWithError("no virtual keyboard on the Wayland compositor");
        return;
    }
    postChords(state, virtualKeyboard());
}

void chordPostedOnMutter(benchmark::State& state)
{
    // Kept, as the program keeps it: each new session adds a keyboard to the seat.
    static MutterRemoteDesktop desktop;
    static MutterKeyboard keyboard(desktop);
    if (!keyboard.state().ok()) {
        state.SkipWithError("no GNOME remote-desktop session: run inside scripts/with-services");
        return;
    }
    postChords(state, keyboard);
}

void pasteReadBackOnWayland(benchmark::State& state)
{
    VirtualKeyboard& keyboard = virtualKeyboard();
    if (!keyboard.unavailable().isEmpty()) {
        state.SkipWithError("no virtual keyboard on the Wayland compositor");
        return;
    }
    const WaylandPeers::WlCopy copied({}, "x", waylandDisplay());
    WaylandPeers::Field field(WaylandPeers::Field::Toolkit::Gtk, waylandDisplay());
    if (!field.focused()) {
        state.SkipWithError("the GTK field did not get the focus");
        return;
    }
    SystemClock clock;
    ChordSynthesizer synth(keyboard, clock);
    QObject context;
    QString expected;
    for (auto _ : state) {
        expected += QLatin1Char('x');
        bool posted = false;
        synth.post(KeySynthesizer::Chord::Paste, KeySynthesizer::Target::Application, &context,
                   [&](const KeySynthesizer::Outcome&) { posted = true; });
        while (!posted)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        if (field.waitForText(expected) != expected) {
            state.SkipWithError("the paste did not arrive");
            break;
        }
    }
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RegisterBenchmark("ChordPostedThroughXTest", chordPostedOnX11)->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("ChordPostedThroughTheVirtualKeyboard", chordPostedOnWayland)
        ->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("ChordPostedThroughGnomeRemoteDesktop", chordPostedOnMutter)
        ->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("PasteReadBackFromAGtkFieldOnWayland", pasteReadBackOnWayland)
        ->Unit(benchmark::kMillisecond);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
