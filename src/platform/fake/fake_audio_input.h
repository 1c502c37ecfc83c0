#pragma once

#include "platform/audio_input.h"

#include <QMutex>

// Delivers what the test pushes, on the pushing thread, while a capture runs.
class FakeAudioInput final : public AudioInput {
public:
    Result<AudioFormat, QString> start(Deliver deliver) override;
    void stop() override;

    // Later starts fail with `error`; an empty error lets them succeed again.
    void setStartError(const QString& error);
    // The format a successful start() answers.
    void setOpenedFormat(const AudioFormat& format);
    // Hands one buffer to the running capture; false when none runs.
    bool push(const AudioFormat& format, QByteArrayView samples);
    bool isRunning() const;
    int startCount() const;

private:
    mutable QMutex m_mutex; // held during a delivery, so stop() waits for it like the real input
    Deliver m_deliver;
    QString m_startError;
    AudioFormat m_openedFormat{48'000, 2, AudioFormat::SampleType::Float};
    int m_startCount = 0;
};
