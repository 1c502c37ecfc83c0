#pragma once

#include "speech/engine_client.h"
#include "speech/engine_replies.h"

#include <QObject>
#include <QString>

// What the shell asks of the speech engine's supervisor and client.
class EngineControl {
public:
    virtual ~EngineControl() = default;

    virtual bool ready() const = 0;
    virtual bool polishAvailable() const = 0;
    // Always ready for display: a UI text, the engine's own error text or a system error.
    virtual const QString& statusText() const = 0;
    virtual bool statusIsLoading() const = 0;
    virtual void start() = 0;
    virtual void restart() = 0;
    virtual void shutdown() = 0;
    virtual void prewarm() = 0;
    // The model a correction provider serves. Destroying `context` cancels; `done` never runs for a
    // destroyed context.
    virtual void correctionModel(const QString& apiKey, const QString& baseURL, QObject* context,
                                 EngineClient::Done<CorrectionModelBody> done) = 0;
    // What the speech server of the configuration in force, asked with its held key, makes of a
    // moment of silence. Cancelled and guarded by `context` as above.
    virtual void checkSpeechServer(QObject* context, EngineClient::Done<QString> done) = 0;
};
