#include "app/shell/speech_engine_control.h"

#include "speech/speech_engine.h"

bool SpeechEngineControl::ready() const
{
    return m_engine.ready();
}

bool SpeechEngineControl::polishAvailable() const
{
    return m_engine.polishAvailable();
}

QString SpeechEngineControl::statusText() const
{
    return m_engine.statusText();
}

bool SpeechEngineControl::statusIsLoading() const
{
    return m_engine.statusIsLoading();
}

void SpeechEngineControl::start()
{
    m_engine.start();
}

void SpeechEngineControl::restart()
{
    m_engine.restart();
}

void SpeechEngineControl::shutdown()
{
    m_engine.shutdown();
}

void SpeechEngineControl::prewarm(qint64 port)
{
    m_engine.prewarm(port);
}

void SpeechEngineControl::correctionModel(const QString& apiKey, const QString& baseURL, qint64 port,
                                          QObject* context, EngineClient::Done<CorrectionModelBody> done)
{
    m_engine.correctionModel(apiKey, baseURL, port, context, std::move(done));
}
