#include "dictation/capture/pcm_converter.h"

#include <QtEndian>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>
#include <numeric>
#include <type_traits>

namespace {

// A windowed-sinc low-pass that doubles as the interpolator: with 24 zero crossings each side and a
// Kaiser window (beta 8, about -80 dB) the band from 6.4 kHz to 8 kHz is the transition, so nothing
// above the new Nyquist frequency folds back into speech.
constexpr double ZeroCrossings = 24;
constexpr double KaiserBeta = 8;
constexpr double Rolloff = 0.9;
// Rates like 44.1 kHz need 160 exact kernel rows; odd rates that would need more share this many.
constexpr int MaxPhases = 1024;

double besselI0(double x)
{
    double sum = 1;
    double term = 1;
    for (int k = 1; k < 64 && term > sum * 1e-12; ++k) {
        term *= (x / (2 * k)) * (x / (2 * k));
        sum += term;
    }
    return sum;
}

double sinc(double x)
{
    return x == 0 ? 1 : std::sin(std::numbers::pi * x) / (std::numbers::pi * x);
}

template <typename Sample> float readSample(const char* at)
{
    Sample sample;
    std::memcpy(&sample, at, sizeof sample);
    if constexpr (std::is_same_v<Sample, qint16>)
        return float(sample) / 32768.0f;
    else if constexpr (std::is_same_v<Sample, qint32>)
        return float(sample) / 2147483648.0f;
    else
        return std::isfinite(sample) ? sample : 0.0f;
}

template <typename Sample, typename Sink>
void forEachMonoSample(QByteArrayView samples, int channels, Sink&& sink)
{
    const qsizetype frameBytes = qsizetype(sizeof(Sample)) * channels;
    const qsizetype frames = samples.size() / frameBytes;
    const float share = 1.0f / float(channels);
    const char* at = samples.data();
    for (qsizetype frame = 0; frame < frames; ++frame) {
        float sum = 0;
        for (int channel = 0; channel < channels; ++channel, at += sizeof(Sample))
            sum += readSample<Sample>(at);
        sink(sum * share);
    }
}

template <typename Sink>
void forEachMonoSample(const AudioFormat& format, QByteArrayView samples, Sink&& sink)
{
    switch (format.sampleType) {
    case AudioFormat::SampleType::Int16:
        return forEachMonoSample<qint16>(samples, format.channelCount, sink);
    case AudioFormat::SampleType::Int32:
        return forEachMonoSample<qint32>(samples, format.channelCount, sink);
    case AudioFormat::SampleType::Float:
        return forEachMonoSample<float>(samples, format.channelCount, sink);
    }
}

void appendInt16(QByteArray& out, float value)
{
    const float scaled = value * 32768.0f;
    qint16 sample = 0;
    if (scaled >= 32767.0f)
        sample = 32767;
    else if (scaled <= -32768.0f)
        sample = -32768;
    else if (scaled == scaled)
        sample = qint16(std::lrint(scaled));
    const qint16 little = qToLittleEndian(sample);
    out.append(reinterpret_cast<const char*>(&little), sizeof little);
}

} // namespace

PcmConverter::PcmConverter(const AudioFormat& format)
    : m_format(format)
    , m_passThrough(format.sampleRate == TargetRate)
{
    Q_ASSERT(format.sampleRate > 0 && format.channelCount > 0);
    if (m_passThrough)
        return;
    const double cutoff = 0.5 * std::min(1.0, double(TargetRate) / format.sampleRate) * Rolloff;
    const double halfWidth = ZeroCrossings / (2 * cutoff);
    m_reach = int(std::ceil(halfWidth));
    m_phases = std::min(TargetRate / std::gcd(format.sampleRate, TargetRate), MaxPhases);
    const int taps = 2 * m_reach;
    m_kernel.resize(std::size_t(m_phases) * std::size_t(taps));
    const double windowNorm = besselI0(KaiserBeta);
    for (int phase = 0; phase < m_phases; ++phase) {
        float* row = &m_kernel[std::size_t(phase) * std::size_t(taps)];
        double sum = 0;
        for (int tap = 0; tap < taps; ++tap) {
            const double x = double(phase) / m_phases - (tap - m_reach + 1);
            const double r = x / halfWidth;
            const double h = std::abs(r) >= 1 ? 0
                                              : 2 * cutoff * sinc(2 * cutoff * x) *
                                                    besselI0(KaiserBeta * std::sqrt(1 - r * r)) / windowNorm;
            row[tap] = float(h);
            sum += h;
        }
        // Each row sums to one, so every fractional position passes a constant level unchanged.
        for (int tap = 0; tap < taps; ++tap)
            row[tap] = float(row[tap] / sum);
    }
    restart();
}

QByteArray PcmConverter::convert(QByteArrayView samples)
{
    // A buffer may end inside a frame; that frame is completed by the next buffer.
    QByteArray joined;
    if (!m_partial.isEmpty()) {
        joined = std::exchange(m_partial, {}) + samples.toByteArray();
        samples = joined;
    }
    const qsizetype whole = samples.size() - samples.size() % m_format.bytesPerFrame();
    m_partial = samples.sliced(whole).toByteArray();
    samples = samples.first(whole);
    QByteArray out;
    const qsizetype frames = samples.size() / m_format.bytesPerFrame();
    out.reserve(qsizetype(frames * TargetRate / m_format.sampleRate + 2) * 2);
    if (m_passThrough) {
        forEachMonoSample(m_format, samples, [&out](float value) { appendInt16(out, value); });
        return out;
    }
    appendMono(samples);
    resampleInto(out, m_inputEnd);
    return out;
}

QByteArray PcmConverter::flush()
{
    QByteArray out;
    m_partial.clear();
    if (m_passThrough)
        return out;
    // Silence after the end lets the last output instants see their whole kernel.
    m_history.insert(m_history.end(), std::size_t(m_reach), 0.0f);
    resampleInto(out, m_inputEnd);
    restart();
    return out;
}

void PcmConverter::appendMono(QByteArrayView samples)
{
    const qsizetype before = qsizetype(m_history.size());
    m_history.reserve(std::size_t(before + samples.size() / m_format.bytesPerFrame()));
    forEachMonoSample(m_format, samples, [this](float value) { m_history.push_back(value); });
    m_inputEnd += qsizetype(m_history.size()) - before;
}

void PcmConverter::resampleInto(QByteArray& out, qint64 inputEnd)
{
    const int taps = 2 * m_reach;
    const qint64 available = m_historyStart + qint64(m_history.size());
    while (m_nextIndex < inputEnd && m_nextIndex + m_reach < available) {
        const float* input = &m_history[std::size_t(m_nextIndex - m_reach + 1 - m_historyStart)];
        const float* row =
            &m_kernel[std::size_t(m_nextRemainder * m_phases / TargetRate) * std::size_t(taps)];
        float sum = 0;
        for (int tap = 0; tap < taps; ++tap)
            sum += row[tap] * input[tap];
        appendInt16(out, sum);
        m_nextRemainder += m_format.sampleRate;
        m_nextIndex += m_nextRemainder / TargetRate;
        m_nextRemainder %= TargetRate;
    }
    const qint64 unused = std::min(m_nextIndex - m_reach + 1 - m_historyStart, qint64(m_history.size()));
    if (unused > 0) {
        m_history.erase(m_history.begin(), m_history.begin() + std::ptrdiff_t(unused));
        m_historyStart += unused;
    }
}

void PcmConverter::restart()
{
    // The stream starts at index 0; the kernel's left half reaches into silence before it.
    m_history.assign(std::size_t(m_reach - 1), 0.0f);
    m_historyStart = -(m_reach - 1);
    m_inputEnd = 0;
    m_nextIndex = 0;
    m_nextRemainder = 0;
}
