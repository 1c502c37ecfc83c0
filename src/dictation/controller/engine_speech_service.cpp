#include "dictation/controller/engine_speech_service.h"

#include "speech/speech_engine.h"

bool EngineSpeechService::ready() const
{
    return m_engine.ready();
}

bool EngineSpeechService::polishAvailable() const
{
    return m_engine.polishAvailable();
}

void EngineSpeechService::prewarm(qint64 port)
{
    m_engine.prewarm(port);
}

void EngineSpeechService::transcribe(const QByteArray& wav, const QString& language, qint64 port,
                                     QObject* context, Done done)
{
    m_engine.transcribe(wav, language, port, context, std::move(done));
}

void EngineSpeechService::polish(const QString& raw, const std::optional<QString>& selection,
                                 const QuendaConfig& config, const std::optional<QString>& targetLanguage,
                                 bool noteAnswer, QObject* context, Done done)
{
    m_engine.polish(raw, selection, config, targetLanguage, noteAnswer, context, std::move(done));
}
