#pragma once

#include "dictation/controller/speech_service.h"

class SpeechEngine;

// The dictation's view of the real engine client.
class EngineSpeechService final : public SpeechService {
public:
    explicit EngineSpeechService(SpeechEngine& engine)
        : m_engine(engine)
    {
    }

    bool ready() const override;
    bool polishAvailable() const override;
    void prewarm(qint64 port) override;
    void transcribe(const QByteArray& wav, const QString& language, qint64 port, QObject* context,
                    Done done) override;
    void polish(const QString& raw, const std::optional<QString>& selection, const QuendaConfig& config,
                const std::optional<QString>& targetLanguage, bool noteAnswer, QObject* context,
                Done done) override;

private:
    SpeechEngine& m_engine;
};
