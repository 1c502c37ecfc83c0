// From the request to the paste chord posted, on the X server's XTest keyboard and on the GNOME
// compositor's remote-desktop keyboard; run inside scripts/with-services, which starts both. The
// chord goes to whichever window has the focus there, which is none.
#include "core/base/system_clock.h"
#include "platform/linux/gnome/mutter_keyboard.h"
#include "platform/linux/gnome/mutter_remote_desktop.h"
#include "platform/linux/keys/chord_synthesizer.h"
#include "platform/linux/x11/xtest_keyboard.h"

#include "bench_main.h"

#include <QCoreApplication>

#include <memory>
#include <optional>

namespace {

// The library keeps the message's pointer until it reports.
void skip(benchmark::State& state, const QString& why)
{
    static std::string message;
    message = why.toStdString();
    state.SkipWithError(message.c_str());
}

void pasteChordPosted(benchmark::State& state,
                      const std::function<std::unique_ptr<SyntheticKeyboard>()>& make)
{
    if (qEnvironmentVariable("QUENDA_IN_SERVICES") != QLatin1String("1")) {
        state.SkipWithError("run inside scripts/with-services");
        return;
    }
    const std::unique_ptr<SyntheticKeyboard> keyboard = make();
    if (const auto ready = keyboard->state(); !ready.ok()) {
        skip(state, ready.error().detail);
        return;
    }
    SystemClock clock;
    ChordSynthesizer keys(*keyboard, clock);
    QObject context;
    for (auto _ : state) {
        std::optional<KeySynthesizer::Outcome> outcome;
        keys.post(KeySynthesizer::Chord::Paste, KeySynthesizer::Target::Application, &context,
                  [&](const KeySynthesizer::Outcome& o) { outcome = o; });
        while (!outcome)
            QCoreApplication::processEvents();
        if (!outcome->ok()) {
            skip(state, outcome->error().detail);
            break;
        }
    }
}

} // namespace

int main(int argc, char** argv)
{
    return Bench::run<QCoreApplication>(argc, argv, [] {
        static MutterRemoteDesktop* desktop = nullptr;
        benchmark::RegisterBenchmark("PasteChordPosted/xtest", pasteChordPosted, [] {
            return std::make_unique<XTestKeyboard>();
        })->Unit(benchmark::kMicrosecond);
        benchmark::RegisterBenchmark("PasteChordPosted/mutter", pasteChordPosted, [] {
            if (!desktop)
                desktop =
                    new MutterRemoteDesktop(QDBusConnection::sessionBus(), QCoreApplication::instance());
            return std::make_unique<MutterKeyboard>(*desktop);
        })->Unit(benchmark::kMicrosecond);
    });
}
