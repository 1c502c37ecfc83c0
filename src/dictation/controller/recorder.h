#pragma once

#include "core/base/result.h"

#include <QByteArray>
#include <QObject>
#include <QString>

#include <optional>

// The microphone as the dictation uses it. Signals arrive on the main thread.
class Recorder : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(Recorder)

public:
    struct Started {};

    using QObject::QObject;
    ~Recorder() override = default;

    // Why recording could not start, shown to the user as it is.
    virtual Result<Started, QString> start() = 0;
    // The WAV file; none when the recording was too short or nothing was recording.
    virtual std::optional<QByteArray> stop() = 0;

signals:
    void levelChanged(float level);
    void limitReached();
};
