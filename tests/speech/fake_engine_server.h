#pragma once

#include "speech/engine_secret.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QObject>
#include <QTcpServer>

#include <optional>

// One request as the fake engine received it. Header names are lower-cased.
struct RecordedRequest {
    QByteArray method;
    QByteArray target; // path and query, as sent
    QHash<QByteArray, QByteArray> headers;
    QByteArray body;
};

// What the fake engine answers on one path; `hold` never answers.
struct ScriptedReply {
    int status = 200;
    QByteArray body = {};
    QByteArray extraHeaders = {}; // complete lines, each ending in "\r\n"
    bool hold = false;
    bool quit = false;  // stops listening before the reply goes out, as the engine does on /shutdown
    bool early = false; // a chunked body is answered as soon as its head arrives, as a refusal is
};

// A scripted HTTP engine on 127.0.0.1 that records every request it gets.
class FakeEngineServer final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FakeEngineServer)

public:
    FakeEngineServer();

    quint16 port() const { return m_server.serverPort(); }
    // Paths without a script answer 200 with an empty body.
    void script(const QByteArray& path, const ScriptedReply& reply) { m_replies.insert(path, reply); }
    const QList<RecordedRequest>& requests() const { return m_requests; }
    void forgetRequests() { m_requests.clear(); }
    // From now on every reply to a challenge carries the proof of `secret`, as our engine's does;
    // none stops the proofs.
    void proveWith(const std::optional<EngineSecret>& secret) { m_prover = secret; }
    // Held requests, and chunked bodies not yet ended, whose client closed the connection before an
    // answer.
    int abandoned() const { return m_abandoned; }

private:
    void serve(QTcpSocket* socket);

    QTcpServer m_server;
    QHash<QByteArray, ScriptedReply> m_replies;
    QList<RecordedRequest> m_requests;
    std::optional<EngineSecret> m_prover;
    int m_abandoned = 0;
};
