#pragma once

#include "core/base/result.h"
#include "dictation/capture/recorder.h"
#include "platform/audio_input.h"

#include <QByteArray>
#include <QMutex>

#include <memory>
#include <optional>

class PcmConverter;

// Records the default microphone for one dictation at a time as 16 kHz mono 16-bit PCM, converted
// as the buffers arrive, and hands the recording back as a WAV file. Its signals come on its own
// thread, and only while the recording they belong to still runs.
class AudioRecorder final : public Recorder {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(AudioRecorder)

public:
    // More PCM than this (300 seconds) is reported once by limitReached().
    static constexpr qsizetype SizeLimit = 9'600'000;
    // Less PCM than this (a quarter second) is no recording.
    static constexpr qsizetype MinimumSize = 8'000;

    explicit AudioRecorder(AudioInput& input, QObject* parent = nullptr);
    ~AudioRecorder() override;

    // Empties the recording and opens the default microphone; a running recording is discarded.
    // limitReached() is reported once past SizeLimit.
    Result<AudioFormat, QString> start() override;
    std::optional<QByteArray> stop() override;
    bool isRecording() const { return m_recording; }

private:
    void consume(const AudioFormat& format, QByteArrayView samples);
    void report(quint64 recording, bool limit, float level, const QByteArray& pcm, bool interrupted);

    AudioInput& m_input;
    bool m_recording = false;
    // Used by the delivering thread, and by start() and stop() only while the input is stopped.
    std::unique_ptr<PcmConverter> m_converter;

    QMutex m_mutex; // guards the three members below
    QByteArray m_pcm;
    bool m_limitReached = false;
    quint64 m_recordingNumber = 0; // written on this object's thread only
};
