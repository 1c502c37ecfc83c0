#pragma once

#include "core/base/clock.h"
#include "speech/engine_result.h"
#include "speech/speech_stream.h"
#include "speech/transcript.h"

#include <QTcpSocket>

#include <functional>

// POST /stream on the engine: the request's body goes out in chunks as the recording is made, and
// the engine decodes them as they come. Written on a socket of its own, as Qt's HTTP client sends
// no body of unknown length; closing the socket, as the destructor does, drops the engine's work.
class EngineStream final : public SpeechStream {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(EngineStream)

public:
    using Done = std::function<void(const EngineResult<Transcript>&)>;

    // `target` is the path with its query; `token` proves the request is ours.
    EngineStream(Clock& clock, quint16 port, const QByteArray& target, const QByteArray& token,
                 QObject* parent = nullptr);
    ~EngineStream() override;

    void append(const QByteArray& pcm) override;
    // The connection failed, or the engine answered before the recording ended: it will give no text.
    bool broken() const { return m_broken; }
    // Sends what of the recording `pcm` did not go out yet, ends the body and waits up to `timeoutMs`
    // for the answer; `done` runs once, later: with the text, or with why there is none. False, and
    // nothing sent, for a broken stream or one that carried more than `pcm` holds.
    bool finish(QByteArrayView pcm, int timeoutMs, Done done);

private:
    void writeChunk(QByteArrayView data);
    void readReply();
    void ended();
    void answer(const EngineResult<Transcript>& result);

    Clock& m_clock;
    QTcpSocket m_socket;
    qint64 m_sent = 0;
    bool m_broken = false;
    QByteArray m_reply;
    Done m_done;
    Clock::Timer m_timeout;
};
