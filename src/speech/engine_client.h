#pragma once

#include "core/base/clock.h"
#include "core/model/speech_server.h"
#include "speech/engine_replies.h"
#include "speech/engine_requests.h"
#include "speech/engine_result.h"
#include "speech/engine_secret.h"
#include "speech/transcript.h"

#include <QNetworkAccessManager>
#include <QObject>
#include <QUrl>

#include <functional>
#include <optional>

class EngineStream;
class QNetworkReply;

// HTTP to the engine on the loopback interface: no cache, no cookies, no proxy, no redirects.
// Every request carries the token of the client's secret. Replies are handled on the client's
// thread; destroying a request's context aborts the request and drops its callback, which is how
// callers cancel.
class EngineClient final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(EngineClient)

public:
    template <typename T> using Done = std::function<void(const EngineResult<T>&)>;

    static constexpr int kRequestTimeoutMs = 60'000;
    static constexpr int kPollTimeoutMs = 800;
    // Larger replies are cut off and count as undecodable, so a stray listener cannot fill memory.
    static constexpr qint64 kMaxReplyBytes = 16 * 1024 * 1024;
    static constexpr qint64 kMaxHealthBytes = 64 * 1024;

    explicit EngineClient(Clock& clock, QObject* parent = nullptr);

    // "http://127.0.0.1:<port><path>"; none for a port outside 1-65535.
    static std::optional<QUrl> endpoint(const QString& path, qint64 port);
    // None when the reply passes; a status of none stands for a reply that is not HTTP.
    static std::optional<EngineError> validate(const QByteArray& body, std::optional<int> status);
    // The transcript of a /transcribe or /stream reply, or why it holds none.
    static EngineResult<Transcript> transcriptOf(const QByteArray& body, std::optional<int> status);
    static EngineError timedOut();

    // The key of the user's speech server rides in this header: the body is the recording.
    static constexpr const char* speechKeyHeader = "Quenda-Speech-Key";

    // With a server, the engine sends the recording there, with `speechKey` when it is not "".
    void transcribe(const QByteArray& wav, const QString& language, const std::optional<SpeechServer>& server,
                    const QString& speechKey, qint64 port, QObject* context, Done<Transcript> done);
    // A recording sent to the built-in recogniser while it is made, a child of `parent`; none for an
    // invalid port.
    EngineStream* openStream(const QString& language, qint64 port, QObject* parent);
    // What the server made of a moment of silence.
    void checkSpeechServer(const SpeechCheckRequest& request, qint64 port, QObject* context,
                           Done<QString> done);
    void polish(const PolishBody& body, qint64 port, QObject* context, Done<QString> done);
    void correctionModel(const CorrectionModelRequest& request, qint64 port, QObject* context,
                         Done<CorrectionModelBody> done);
    // Fire and forget: nothing is awaited, reported or retried.
    void prewarm(qint64 port);
    void requestShutdown(qint64 port);
    // GET /health with the poll's time-out and a fresh challenge. A reply without the proof of the
    // secret in force when it arrives is Untrusted, whatever it holds; with it, the status code is
    // not looked at: a body that decodes is the answer.
    void health(qint64 port, QObject* context, Done<HealthBody> done);

    // The secret requests are made with, and health answers checked against.
    const EngineSecret& secret() const { return m_secret; }
    // A new secret: whoever knew the old one can no longer prove it is ours.
    void renewSecret() { m_secret = EngineSecret(); }

private:
    enum class Ending { Answered, TimedOut, TooLarge };
    using Finish = std::function<void(QNetworkReply* reply, Ending ending)>;

    QNetworkRequest request(const QUrl& url) const;
    // The URL of `path` on `port`; none once `done` has been told, later, that the port is invalid.
    template <typename T>
    std::optional<QUrl> endpointOrFail(const QString& path, qint64 port, QObject* context,
                                       const Done<T>& done);
    // The error of a request cut off before its reply could be read.
    static std::optional<EngineError> cutOff(Ending ending);
    void post(const QUrl& url, const QByteArray& contentType, const QByteArray& body, QObject* context,
              Done<QByteArray> done, const QList<std::pair<QByteArray, QByteArray>>& headers = {});
    // Posts `body` as JSON to `path`; `done` gets the reply read as a `Record`, then picked.
    template <typename Record, typename T>
    void postJson(const QString& path, const QJsonObject& body, qint64 port, QObject* context, Done<T> done,
                  std::function<T(const Record&)> pick);
    void postEmpty(const QString& path, qint64 port, int timeoutMs, QObject* context,
                   std::function<void()> done);
    void watch(QNetworkReply* reply, int timeoutMs, qint64 maxBytes, QObject* context, Finish finish);
    void failLater(QObject* context, std::function<void()> report);

    Clock& m_clock;
    QNetworkAccessManager m_network;
    EngineSecret m_secret;
};
