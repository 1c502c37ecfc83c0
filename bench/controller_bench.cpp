// The controller's time from the end of a hold to the paste request, with the real engine client
// over loopback against an in-process engine that answers at once, and fakes for the rest.
#include "bench_main.h"
#include "controller_fakes.h"
#include "core/base/support_paths.h"
#include "dictation/controller/dictation_controller.h"
#include "dictation/hotkey/hotkey_monitor.h"
#include "fake_engine_server.h"
#include "fake_state_services.h"
#include "platform/fake/fake_key_source.h"
#include "speech/speech_engine.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <benchmark/benchmark.h>

namespace {

class NoKeys final : public ProviderKeys {
public:
    QString generalKey() const override { return {}; }
    QString key(const CorrectionEndpoint&) const override { return {}; }
    QString speechKey() const override { return {}; }
};

void waitUntil(const std::function<bool()>& done)
{
    while (!done())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
}

void HoldEndToPasteRequest(benchmark::State& run)
{
    FakeStateServices<> services;
    SupportPaths::setDataRoot(services.dir.path());
    ManualClock& clock = services.clock;
    AppState state(services.forState());
    FakeEngineServer server;
    server.script("/health", {200, R"({"ready":true})"});
    server.script("/transcribe", {200, R"({"text":"Hallo Welt"})"});
    QuendaConfig config = state.config();
    config.port = server.port();
    config.autoCorrect = false;
    config.commandMode = false;
    config.playSounds = false;
    config.othersAudio = OthersAudio::Off;
    config.learnEdits = false;
    state.setConfig(config);

    NoKeys keys;
    SpeechEngine engine(
        clock, [&state] { return state.config(); }, keys, EngineLocations{});
    server.proveWith(engine.secret());
    FakeRecorder recorder;
    recorder.wav = QByteArray("RIFF") + QByteArray(320'000, '\1'); // ten seconds at 16 kHz
    FakeInserter inserter;
    FakeSilencer silencer;
    FakeLearner learner;
    FakeSoundPlayer sounds;
    FakeMicrophone microphone;
    FakeWindowSystem front;
    FakeKeySource keySource;
    HotkeyMonitor hotkey(keySource, clock);
    DictationController controller(
        {state, clock, engine, recorder, inserter, silencer, learner, sounds, microphone, front, hotkey});
    engine.poll();
    waitUntil([&] { return engine.ready(); });

    for (auto _ : run) {
        inserter.log.clear();
        emit hotkey.pressed();
        emit hotkey.holdStarted();
        clock.advance(2000);
        QElapsedTimer timer;
        timer.start();
        emit hotkey.holdEnded();
        waitUntil([&] { return !inserter.writes().isEmpty(); });
        run.SetIterationTime(double(timer.nsecsElapsed()) / 1e9);
        clock.advance(1000);
    }
}
BENCHMARK(HoldEndToPasteRequest)->UseManualTime()->Unit(benchmark::kMicrosecond)->Iterations(200);

} // namespace

int main(int argc, char** argv)
{
    return Bench::run<QCoreApplication>(argc, argv);
}
