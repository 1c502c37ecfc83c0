// Begin and end of output silencing on the private PulseAudio server of scripts/with-services,
// with three sinks. It changes every sink of the server, so it refuses any other server.
#include "core/base/support_paths.h"
#include "dictation/silence/output_silence.h"
#include "platform/linux/pulse/pulse_output_devices.h"

#include <QCoreApplication>
#include <QProcess>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <optional>

namespace {

std::optional<QByteArray> pactl(const QStringList& arguments)
{
    QProcess process;
    process.start(QStringLiteral("pactl"), arguments);
    if (!process.waitForFinished(10000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0)
        return std::nullopt;
    return process.readAllStandardOutput();
}

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
    if (qEnvironmentVariable("QUENDA_IN_SERVICES") != QLatin1String("1") ||
        !pactl({QStringLiteral("info")})) {
        std::puts("silence_bench: skipped, it needs the private PulseAudio server (run under "
                  "scripts/with-services)");
        return 0;
    }
    QTemporaryDir dir;
    SupportPaths::setDataRoot(dir.path());
    QStringList modules;
    PulseOutputDevices pulse;
    // The test server brings one null sink; two more make three.
    for (const char* name : {"quenda_bench_b", "quenda_bench_c"}) {
        if (const auto module = pactl({QStringLiteral("load-module"), QStringLiteral("module-null-sink"),
                                       QStringLiteral("sink_name=") + QLatin1String(name)}))
            modules.append(QString::fromUtf8(module->trimmed()));
    }
    const auto sinks = pulse.devices();
    if (!sinks.ok()) {
        std::printf("silence_bench: no sinks: %s\n", qPrintable(sinks.error().message));
        return 1;
    }
    for (const auto& sink : sinks.value())
        pulse.setVolume(sink.id, 0.6);
    std::printf("silence_bench: %lld sinks\n", static_cast<long long>(sinks.value().size()));
    g_setup = {&pulse, dir.filePath(QStringLiteral("output-silence.json"))};

    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    for (const auto& module : modules)
        pactl({QStringLiteral("unload-module"), module});
    return 0;
}
