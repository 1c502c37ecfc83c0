#pragma once

#include <QByteArray>
#include <QObject>

// A recording handed to the engine while it is being made, so that little is left to decode at
// its end. Destroying it drops what the engine did with it.
class SpeechStream : public QObject {
    Q_DISABLE_COPY_MOVE(SpeechStream)

public:
    using QObject::QObject;
    ~SpeechStream() override = default;

    // The recording's next 16 kHz mono 16-bit samples, in order.
    virtual void append(const QByteArray& pcm) = 0;
};
