// Begin and end of output silencing on the private PulseAudio server of scripts/with-services,
// with three sinks. It changes every sink of the server, so it refuses any other server.
#include "bench_main.h"
#include "core/base/support_paths.h"
#include "dictation/silence/output_silence.h"
#include "platform/linux/pulse/pulse_output_devices.h"
#include "test_sinks.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>

namespace {

struct Setup {
    PulseOutputDevices* pulse = nullptr;
    QString record;
};
Setup g_setup;

void silenceBegin(benchmark::State& state, OthersAudio mode)
{
    OutputSilence silence(*g_setup.pulse, g_setup.record);
    for (auto _ : state) {
        silence.begin(mode);
        state.PauseTiming();
        if (!silence.holding())
            state.SkipWithError("nothing was silenced");
        silence.end();
        state.ResumeTiming();
    }
}

void silenceEnd(benchmark::State& state, OthersAudio mode)
{
    OutputSilence silence(*g_setup.pulse, g_setup.record);
    for (auto _ : state) {
        state.PauseTiming();
        silence.begin(mode);
        if (!silence.holding())
            state.SkipWithError("nothing was silenced");
        state.ResumeTiming();
        silence.end();
    }
}

// A fixed count: with the timer paused for the other half, the automatic count runs for minutes.
BENCHMARK_CAPTURE(silenceBegin, quiet, OthersAudio::Quiet)->Unit(benchmark::kMillisecond)->Iterations(200);
BENCHMARK_CAPTURE(silenceEnd, quiet, OthersAudio::Quiet)->Unit(benchmark::kMillisecond)->Iterations(200);
BENCHMARK_CAPTURE(silenceBegin, mute, OthersAudio::Mute)->Unit(benchmark::kMillisecond)->Iterations(200);
BENCHMARK_CAPTURE(silenceEnd, mute, OthersAudio::Mute)->Unit(benchmark::kMillisecond)->Iterations(200);

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (!TestSinks::privateServerRunning()) {
        std::puts("silence_bench: skipped, it needs the private PulseAudio server (run under "
                  "scripts/with-services)");
        return 0;
    }
    QTemporaryDir dir;
    SupportPaths::setDataRoot(dir.path());
    // The test server brings one null sink; two more make three. They go again on every way out.
    TestSinks added(QStringLiteral("bench"));
    added.add(QStringLiteral("b"));
    added.add(QStringLiteral("c"));
    PulseOutputDevices pulse;
    const auto sinks = pulse.devices();
    if (!sinks.ok()) {
        std::printf("silence_bench: no sinks: %s\n", qPrintable(sinks.error().message));
        return 1;
    }
    for (const auto& sink : sinks.value())
        pulse.setVolume(sink.id, 0.6);
    std::printf("silence_bench: %lld sinks\n", static_cast<long long>(sinks.value().size()));
    g_setup = {&pulse, dir.filePath(QStringLiteral("output-silence.json"))};

    return Bench::runRegistered(argc, argv);
}
