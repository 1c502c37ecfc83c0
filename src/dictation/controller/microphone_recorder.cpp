#include "dictation/controller/microphone_recorder.h"

#include "dictation/capture/audio_recorder.h"

MicrophoneRecorder::MicrophoneRecorder(AudioRecorder& recorder, QObject* parent)
    : Recorder(parent)
    , m_recorder(recorder)
{
    // This object lives on the main thread, so both connections are queued to it.
    connect(&recorder, &AudioRecorder::levelChanged, this, &Recorder::levelChanged);
    connect(&recorder, &AudioRecorder::limitReached, this, &Recorder::limitReached);
}

Result<Recorder::Started, QString> MicrophoneRecorder::start()
{
    const auto started = m_recorder.start();
    if (!started.ok())
        return started.error();
    return Started{};
}

std::optional<QByteArray> MicrophoneRecorder::stop()
{
    return m_recorder.stop();
}
