#pragma once

#include "platform/audio_input.h"

#include <QThread>

#include <memory>

// The default microphone through Qt Multimedia's QAudioSource (PulseAudio on Linux), opened in the
// device's preferred format and read on a thread of its own.
class QAudioSourceInput final : public AudioInput {
public:
    QAudioSourceInput();
    ~QAudioSourceInput() override;

    Result<AudioFormat, QString> start(Deliver deliver) override;
    void stop() override;

private:
    class Capture;

    QThread m_thread;
    std::unique_ptr<QObject> m_context; // lives on m_thread, where the capture's work runs
    std::unique_ptr<Capture> m_capture;
};
