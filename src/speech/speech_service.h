#pragma once

#include "core/config/quenda_config.h"
#include "speech/engine_result.h"
#include "speech/speech_stream.h"
#include "speech/transcript.h"

#include <QByteArray>
#include <QObject>
#include <QString>

#include <functional>
#include <optional>

// What the dictation asks of the speech engine, which answers on the port of the configuration in
// force. A request's context is its cancel handle: destroying it aborts the request, and `done`
// never runs for a destroyed context.
class SpeechService {
public:
    using Done = std::function<void(const EngineResult<QString>&)>;
    using TranscriptDone = std::function<void(const EngineResult<Transcript>&)>;

    virtual ~SpeechService() = default;

    virtual bool ready() const = 0;
    virtual bool polishAvailable() const = 0;
    // Fire and forget: lets the engine load its model while the user still speaks.
    virtual void prewarm() = 0;
    virtual void transcribe(const QByteArray& wav, const QString& language, QObject* context,
                            TranscriptDone done) = 0;
    // A stream for the recording about to start, a child of `parent`; none where the whole
    // recording is to go at its end (a speech server is set, or no engine of ours answers).
    virtual SpeechStream* openStream(const QString& language, QObject* parent) = 0;
    // As transcribe(), for the recording `stream` carried so far: only the rest goes now, and the
    // whole recording where the stream broke. The stream goes with `context` from now on.
    virtual void transcribeStream(SpeechStream* stream, const QByteArray& wav, const QString& language,
                                  QObject* context, TranscriptDone done) = 0;
    // `config` chooses the providers and styles; the answer is the polished text.
    virtual void polish(const QString& raw, const std::optional<QString>& selection,
                        const QuendaConfig& config, const std::optional<QString>& targetLanguage,
                        bool noteAnswer, QObject* context, Done done) = 0;
};
