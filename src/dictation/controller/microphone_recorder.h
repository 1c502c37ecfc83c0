#pragma once

#include "dictation/controller/recorder.h"

class AudioRecorder;

// The real recorder, with its signals brought from the audio thread to the main thread.
class MicrophoneRecorder final : public Recorder {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(MicrophoneRecorder)

public:
    explicit MicrophoneRecorder(AudioRecorder& recorder, QObject* parent = nullptr);

    Result<Started, QString> start() override;
    std::optional<QByteArray> stop() override;

private:
    AudioRecorder& m_recorder;
};
