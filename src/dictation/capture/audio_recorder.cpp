#include "dictation/capture/audio_recorder.h"

#include "dictation/capture/pcm_converter.h"
#include "dictation/capture/wav_file.h"

#include <QtEndian>

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

// Maps -55 dBFS and below to 0 and -10 dBFS and above to 1, linear in decibels.
float levelOf(QByteArrayView pcm)
{
    const qsizetype count = pcm.size() / 2;
    float sumOfSquares = 0;
    for (qsizetype i = 0; i < count; ++i) {
        const float sample = float(qFromLittleEndian<qint16>(pcm.data() + 2 * i)) / 32768.0f;
        sumOfSquares += sample * sample;
    }
    const float rms = std::sqrt(sumOfSquares / float(count));
    const float decibels = 20.0f * std::log10(std::max(rms, 1e-6f));
    return std::clamp((decibels + 55.0f) / 45.0f, 0.0f, 1.0f);
}

} // namespace

AudioRecorder::AudioRecorder(AudioInput& input, QObject* parent)
    : Recorder(parent)
    , m_input(input)
{
}

AudioRecorder::~AudioRecorder()
{
    // After this no delivery can reach the members about to be destroyed.
    m_input.stop();
}

Result<AudioFormat, QString> AudioRecorder::start()
{
    m_input.stop();
    m_converter.reset();
    {
        QMutexLocker lock(&m_mutex);
        m_pcm.clear();
        m_limitReached = false;
        ++m_recordingNumber;
    }
    auto opened = m_input.start(
        [this](const AudioFormat& format, QByteArrayView samples) { consume(format, samples); });
    m_recording = opened.ok();
    return opened;
}

std::optional<QByteArray> AudioRecorder::stop()
{
    if (!m_recording)
        return std::nullopt;
    m_input.stop();
    m_recording = false;
    const QByteArray tail = m_converter ? m_converter->flush() : QByteArray();
    m_converter.reset();
    QByteArray pcm;
    {
        QMutexLocker lock(&m_mutex);
        pcm = std::exchange(m_pcm, {});
        ++m_recordingNumber;
    }
    pcm += tail;
    if (pcm.size() < MinimumSize)
        return std::nullopt;
    return wavFile(pcm);
}

void AudioRecorder::consume(const AudioFormat& format, QByteArrayView samples)
{
    if (format.sampleRate <= 0 || format.channelCount <= 0)
        return;
    QByteArray chunk;
    const bool interrupted = m_converter && !(m_converter->format() == format);
    if (interrupted) {
        // Devices renegotiate mid-stream (a headset plugged in, a server restart); a converter kept
        // from the first format would garble or drop everything after the change.
        chunk = m_converter->flush();
        m_converter.reset();
    }
    if (!m_converter)
        m_converter = std::make_unique<PcmConverter>(format);
    chunk += m_converter->convert(samples);
    if (chunk.isEmpty() && !interrupted)
        return;
    const float level = chunk.isEmpty() ? 0.0f : levelOf(chunk);

    quint64 recording = 0;
    bool limit = false;
    {
        QMutexLocker lock(&m_mutex);
        m_pcm += chunk;
        recording = m_recordingNumber;
        if (m_pcm.size() > SizeLimit && !m_limitReached)
            limit = m_limitReached = true;
    }
    report(recording, limit, level, chunk, interrupted);
}

void AudioRecorder::report(quint64 recording, bool limit, float level, const QByteArray& pcm,
                           bool interrupted)
{
    // Queued on this object, so reports die with it; a report of a finished recording must not
    // reach, or stop, the next one.
    QMetaObject::invokeMethod(
        this,
        [this, recording, limit, level, pcm, interrupted] {
            if (recording != m_recordingNumber)
                return;
            if (interrupted)
                emit this->interrupted();
            emit captured(pcm);
            emit levelChanged(level);
            if (limit)
                emit limitReached();
        },
        Qt::QueuedConnection);
}
