#pragma once

#include "app/shell/engine_control.h"

class SpeechEngine;

// The shell's view of the real engine.
class SpeechEngineControl final : public EngineControl {
public:
    explicit SpeechEngineControl(SpeechEngine& engine)
        : m_engine(engine)
    {
    }

    bool ready() const override;
    bool polishAvailable() const override;
    QString statusText() const override;
    bool statusIsLoading() const override;
    void start() override;
    void restart() override;
    void shutdown() override;
    void prewarm(qint64 port) override;
    void correctionModel(const QString& apiKey, const QString& baseURL, qint64 port, QObject* context,
                         EngineClient::Done<CorrectionModelBody> done) override;

private:
    SpeechEngine& m_engine;
};
