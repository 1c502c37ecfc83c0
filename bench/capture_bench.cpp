// Microphone capture: the conversion's CPU time per second of device audio, and the time from
// start() to the first buffer of the real backend.
#include "bench_main.h"
#include "dictation/capture/audio_recorder.h"
#include "dictation/capture/pcm_converter.h"
#include "platform/fake/fake_audio_input.h"
#include "platform/linux/audio/qaudio_source_input.h"

#include "pulse_tone_source.h"
#include "test_audio.h"

#include <QAudioDevice>
#include <QCoreApplication>
#include <QMediaDevices>
#include <QTest>

#include <benchmark/benchmark.h>

#include <condition_variable>
#include <mutex>

namespace {

using Type = AudioFormat::SampleType;

AudioFormat formatOf(const benchmark::State& state)
{
    return {int(state.range(0)), int(state.range(1)), Type(state.range(2))};
}

// Speech-like input: a tone under noise, never the easy case of silence.
QByteArray oneSecond(const AudioFormat& format)
{
    std::uint32_t noise = 12345;
    return synthesize(format, format.sampleRate, [&](qint64 frame, int) {
        noise = noise * 1664525u + 1013904223u;
        return 0.3 * std::sin(2 * std::numbers::pi * 220 * double(frame) / format.sampleRate) +
               0.1 * (double(noise >> 8) / double(1 << 24) - 0.5);
    });
}

// One second of audio in 1024-frame buffers through a converter that stays built, as while recording.
void BM_ConvertOneSecond(benchmark::State& state)
{
    const AudioFormat format = formatOf(state);
    const QByteArray input = oneSecond(format);
    const qsizetype step = 1024 * format.bytesPerFrame();
    PcmConverter converter(format);
    for (auto _ : state) {
        for (qsizetype at = 0; at < input.size(); at += step)
            benchmark::DoNotOptimize(
                converter.convert(QByteArrayView(input).sliced(at, std::min(step, input.size() - at))));
    }
}
BENCHMARK(BM_ConvertOneSecond)
    ->ArgNames({"rate", "channels", "type"})
    ->Args({48'000, 2, int(Type::Float)})
    ->Args({44'100, 1, int(Type::Int16)})
    ->Args({16'000, 1, int(Type::Int16)})
    ->Unit(benchmark::kMicrosecond);

// Building the filter happens on the audio thread when the first buffer of a format arrives.
void BM_BuildConverter(benchmark::State& state)
{
    const AudioFormat format = formatOf(state);
    for (auto _ : state)
        benchmark::DoNotOptimize(PcmConverter(format));
}
BENCHMARK(BM_BuildConverter)
    ->ArgNames({"rate", "channels", "type"})
    ->Args({48'000, 2, int(Type::Float)})
    ->Args({44'100, 1, int(Type::Int16)})
    ->Unit(benchmark::kMicrosecond);

// The recorder's whole path for one second: conversion, level, append, and stop() with the WAV.
void BM_RecordOneSecond(benchmark::State& state)
{
    const AudioFormat format{48'000, 2, Type::Float};
    const QByteArray input = oneSecond(format);
    const qsizetype step = 1024 * format.bytesPerFrame();
    FakeAudioInput microphone;
    AudioRecorder recorder(microphone);
    for (auto _ : state) {
        recorder.start();
        for (qsizetype at = 0; at < input.size(); at += step)
            microphone.push(format, QByteArrayView(input).sliced(at, std::min(step, input.size() - at)));
        benchmark::DoNotOptimize(recorder.stop());
        QCoreApplication::processEvents();
    }
}
BENCHMARK(BM_RecordOneSecond)->Unit(benchmark::kMicrosecond);

// Qt Multimedia and PulseAudio opening the stream, the source's first period and our poll; the
// source is the test's tone source with 10 ms periods.
void BM_StartToFirstBuffer(benchmark::State& state)
{
    const auto info = pactl({QStringLiteral("info")});
    if (!info || info->first != 0) {
        state.SkipWithError("no PulseAudio server is reachable; run under scripts/with-services");
        return;
    }
    PulseToneSource source;
    if (!source.loaded() ||
        !QTest::qWaitFor([] { return QMediaDevices::defaultAudioInput().id() == PulseToneSource::Name; },
                         3000)) {
        state.SkipWithError("the tone source could not be made the default microphone");
        return;
    }
    QAudioSourceInput input;
    std::mutex mutex;
    std::condition_variable arrived;
    for (auto _ : state) {
        std::optional<std::chrono::steady_clock::time_point> first;
        const auto begin = std::chrono::steady_clock::now();
        const auto started = input.start([&](const AudioFormat&, QByteArrayView) {
            std::lock_guard lock(mutex);
            if (!first)
                first = std::chrono::steady_clock::now();
            arrived.notify_one();
        });
        if (!started.ok()) {
            state.SkipWithError(started.error().toStdString().c_str());
            return;
        }
        std::unique_lock lock(mutex);
        const bool ok = arrived.wait_for(lock, std::chrono::seconds(2), [&] { return first.has_value(); });
        const auto end = ok ? *first : begin;
        lock.unlock();
        input.stop();
        if (!ok) {
            state.SkipWithError("no buffer within two seconds");
            return;
        }
        state.SetIterationTime(std::chrono::duration<double>(end - begin).count());
    }
}
BENCHMARK(BM_StartToFirstBuffer)->UseManualTime()->Iterations(20)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    return Bench::run<QCoreApplication>(argc, argv);
}
