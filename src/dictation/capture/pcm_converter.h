#pragma once

#include "platform/audio_input.h"

#include <QByteArray>

#include <cstdint>
#include <vector>

// Turns a stream in one input format into 16 kHz mono signed 16-bit samples, buffer by buffer. The
// filter keeps its memory between buffers, so a stream cut into buffers converts as one piece.
class PcmConverter final {
public:
    static constexpr int TargetRate = 16'000;

    // Only for a format with a positive sample rate and channel count.
    explicit PcmConverter(const AudioFormat& format);

    const AudioFormat& format() const { return m_format; }
    // Converts the whole frames of `samples`; a partial frame at the end waits for the rest of it.
    QByteArray convert(QByteArrayView samples);
    // The samples the filter still holds back, as if the input fell silent; the next convert()
    // starts a new stream.
    QByteArray flush();

private:
    void appendMono(QByteArrayView samples);
    void resampleInto(QByteArray& out, qint64 inputEnd);
    void restart();

    AudioFormat m_format;
    QByteArray m_partial; // the start of a frame the last buffer cut
    bool m_passThrough = false;
    int m_reach = 0;              // input samples the kernel reaches on each side of an output instant
    int m_phases = 0;             // kernel rows, one per fractional position of an output instant
    std::vector<float> m_kernel;  // m_phases rows of 2 * m_reach taps
    std::vector<float> m_history; // mono input from m_historyStart on
    qint64 m_historyStart = 0;
    qint64 m_inputEnd = 0; // input samples received since the stream started
    // The next output instant, in input samples: m_nextIndex + m_nextRemainder / TargetRate.
    qint64 m_nextIndex = 0;
    std::int64_t m_nextRemainder = 0;
};
