#pragma once

#include "platform/audio_input.h"

#include <QByteArray>
#include <QtEndian>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <functional>
#include <numbers>
#include <vector>

// Synthetic microphone buffers and measurements of converted 16-bit PCM, for the capture tests.

// `frames` interleaved frames in `format`; value(frame, channel) is in -1..1 (full scale).
inline QByteArray synthesize(const AudioFormat& format, qint64 frames,
                             const std::function<double(qint64 frame, int channel)>& value)
{
    QByteArray out;
    out.reserve(frames * format.bytesPerFrame());
    for (qint64 frame = 0; frame < frames; ++frame) {
        for (int channel = 0; channel < format.channelCount; ++channel) {
            const double v = value(frame, channel);
            char bytes[4];
            switch (format.sampleType) {
            case AudioFormat::SampleType::Int16: {
                const auto sample = qint16(std::clamp(std::lround(v * 32768), -32768L, 32767L));
                std::memcpy(bytes, &sample, 2);
                break;
            }
            case AudioFormat::SampleType::Int32: {
                const auto sample =
                    qint32(std::clamp(std::llround(v * 2147483648.0), -2147483648LL, 2147483647LL));
                std::memcpy(bytes, &sample, 4);
                break;
            }
            case AudioFormat::SampleType::Float: {
                const auto sample = float(v);
                std::memcpy(bytes, &sample, 4);
                break;
            }
            }
            out.append(bytes, format.bytesPerSample());
        }
    }
    return out;
}

// A sine of `hz` and peak `amplitude` on every channel.
inline QByteArray sine(const AudioFormat& format, double hz, double amplitude, double seconds)
{
    return synthesize(format, std::llround(seconds * format.sampleRate), [&](qint64 frame, int) {
        return amplitude * std::sin(2 * std::numbers::pi * hz * double(frame) / format.sampleRate);
    });
}

// Little-endian 16-bit PCM as values in -1..1.
inline std::vector<double> samplesOf(QByteArrayView pcm)
{
    std::vector<double> out(std::size_t(pcm.size() / 2));
    for (std::size_t i = 0; i < out.size(); ++i)
        out[i] = qFromLittleEndian<qint16>(pcm.data() + 2 * i) / 32768.0;
    return out;
}

// The middle of a signal, leaving out `edge` of it at each end where filters settle.
inline std::vector<double> middle(const std::vector<double>& samples, double edge = 0.1)
{
    const auto skip = std::ptrdiff_t(double(samples.size()) * edge);
    return {samples.begin() + skip, samples.end() - skip};
}

inline double rmsOf(const std::vector<double>& samples)
{
    double sum = 0;
    for (const double s : samples)
        sum += s * s;
    return samples.empty() ? 0 : std::sqrt(sum / double(samples.size()));
}

// Frequency from the rising zero crossings, interpolated between samples; 0 for fewer than two.
inline double zeroCrossingHz(const std::vector<double>& samples, int sampleRate)
{
    double first = -1;
    double last = -1;
    int crossings = 0;
    for (std::size_t i = 1; i < samples.size(); ++i) {
        if (samples[i - 1] < 0 && samples[i] >= 0) {
            const double at = double(i - 1) + samples[i - 1] / (samples[i - 1] - samples[i]);
            if (first < 0)
                first = at;
            last = at;
            ++crossings;
        }
    }
    return crossings < 2 ? 0 : (crossings - 1) * sampleRate / (last - first);
}
