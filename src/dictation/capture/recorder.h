#pragma once

#include "core/base/result.h"
#include "platform/audio_input.h"

#include <QByteArray>
#include <QObject>
#include <QString>

#include <optional>

// The microphone as the dictation uses it. Signals arrive on the recorder's own thread (the main
// thread in the program).
class Recorder : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(Recorder)

public:
    using QObject::QObject;
    ~Recorder() override = default;

    // Starts a fresh recording: the device's format, or why recording could not start, shown to the
    // user as it is.
    virtual Result<AudioFormat, QString> start() = 0;
    // The WAV file; none when the recording was too short or nothing was recording.
    virtual std::optional<QByteArray> stop() = 0;

signals:
    // The input level of the latest buffer, 0 (-55 dBFS or less) to 1 (-10 dBFS or more).
    void levelChanged(float level);
    // The recording passed its length limit; it goes on until stop().
    void limitReached();
    // The recording's latest 16 kHz samples, in order; what stop() hands back begins with them.
    void captured(const QByteArray& pcm);
    // The microphone's format changed during the recording, which is no longer one stream.
    void interrupted();
};
