#include "speech/engine_client.h"

#include "core/text/l10n.h"
#include "speech/engine_stream.h"

#include <QJsonDocument>
#include <QNetworkProxy>
#include <QNetworkReply>
#include <QPointer>

#include <memory>

namespace {

const QByteArray kJson = QByteArrayLiteral("application/json");

EngineError invalidPort(qint64 port)
{
    return {EngineError::Kind::InvalidPort, L10n::format(QStringLiteral("engine.invalidPort"), {port})};
}

EngineError undecodable()
{
    return {EngineError::Kind::Decoding, L10n::s(QStringLiteral("engine.badReply"))};
}

// Encoded in full, so "+", "&" or "=" in a value can never change the query's meaning.
QString queryItem(const char* name, const QString& value)
{
    return QLatin1String(name) + u'=' + QString::fromLatin1(QUrl::toPercentEncoding(value));
}

Transcript transcriptOfBody(const TextBody& body)
{
    return Transcript{body.text, body.raw.value_or(body.text), body.recogniser == QLatin1String("server"),
                      body.serverError};
}

bool isTransportError(QNetworkReply::NetworkError error)
{
    // 1-199 are connection and proxy failures; higher codes mirror an HTTP status.
    return error > QNetworkReply::NoError && error < QNetworkReply::ContentAccessDenied;
}

template <typename Record, typename T>
EngineClient::Done<QByteArray> decodeWith(EngineClient::Done<T> done, std::function<T(const Record&)> pick)
{
    return [done = std::move(done), pick = std::move(pick)](const EngineResult<QByteArray>& reply) {
        if (!reply.ok()) {
            done(reply.error());
            return;
        }
        const std::optional<Record> record = Record::decode(reply.value());
        if (!record) {
            done(undecodable());
            return;
        }
        done(pick(*record));
    };
}

} // namespace

EngineClient::EngineClient(Clock& clock, QObject* parent)
    : QObject(parent)
    , m_clock(clock)
{
    m_network.setProxy(QNetworkProxy::NoProxy);
    // A redirect would carry provider keys in a /polish body away from the loopback engine.
    m_network.setRedirectPolicy(QNetworkRequest::ManualRedirectPolicy);
    m_network.setAutoDeleteReplies(true);
}

std::optional<QUrl> EngineClient::endpoint(const QString& path, qint64 port)
{
    if (port < 1 || port > 65535)
        return std::nullopt;
    return QUrl(QStringLiteral("http://127.0.0.1:") + QString::number(port) + path, QUrl::StrictMode);
}

EngineError EngineClient::timedOut()
{
    return {EngineError::Kind::TimedOut, L10n::s(QStringLiteral("engine.timedOut"))};
}

EngineResult<Transcript> EngineClient::transcriptOf(const QByteArray& body, std::optional<int> status)
{
    if (const auto error = validate(body, status))
        return *error;
    if (const auto text = TextBody::decode(body))
        return transcriptOfBody(*text);
    return undecodable();
}

std::optional<EngineError> EngineClient::validate(const QByteArray& body, std::optional<int> status)
{
    const int code = status.value_or(500);
    if (code >= 200 && code <= 299)
        return std::nullopt;
    if (const auto error = ErrorBody::decode(body))
        return EngineError{EngineError::Kind::Engine, error->error};
    return EngineError{EngineError::Kind::Engine, L10n::format(QStringLiteral("engine.errorCode"), {code})};
}

template <typename T>
std::optional<QUrl> EngineClient::endpointOrFail(const QString& path, qint64 port, QObject* context,
                                                 const Done<T>& done)
{
    auto url = endpoint(path, port);
    if (!url)
        failLater(context, [done, port] { done(invalidPort(port)); });
    return url;
}

std::optional<EngineError> EngineClient::cutOff(Ending ending)
{
    switch (ending) {
    case Ending::Answered:
        return std::nullopt;
    case Ending::TimedOut:
        return timedOut();
    case Ending::TooLarge:
        // What arrived is only the start of a body, which cannot decode.
        return undecodable();
    }
    return std::nullopt;
}

void EngineClient::transcribe(const QByteArray& wav, const QString& language,
                              const std::optional<SpeechServer>& server, const QString& speechKey,
                              qint64 port, QObject* context, Done<Transcript> done)
{
    auto url = endpointOrFail(QStringLiteral("/transcribe"), port, context, done);
    if (!url)
        return;
    QString query = queryItem("language", language);
    // The key of a server that is not in use stays here.
    QList<std::pair<QByteArray, QByteArray>> headers;
    if (server) {
        query += u'&' + queryItem("server", server->baseURL) + u'&' + queryItem("model", server->model);
        if (const QByteArray key = speechKey.trimmed().toUtf8(); !key.isEmpty())
            headers.append({speechKeyHeader, key});
    }
    url->setQuery(query, QUrl::StrictMode);
    post(*url, QByteArrayLiteral("application/octet-stream"), wav, context,
         decodeWith<TextBody, Transcript>(std::move(done), transcriptOfBody), headers);
}

EngineStream* EngineClient::openStream(const QString& language, qint64 port, QObject* parent)
{
    if (!endpoint(QStringLiteral("/stream"), port))
        return nullptr;
    const QByteArray target = "/stream?" + queryItem("language", language).toLatin1();
    return new EngineStream(m_clock, quint16(port), target, m_secret.token(), parent);
}

template <typename Record, typename T>
void EngineClient::postJson(const QString& path, const QJsonObject& body, qint64 port, QObject* context,
                            Done<T> done, std::function<T(const Record&)> pick)
{
    const auto url = endpointOrFail(path, port, context, done);
    if (!url)
        return;
    post(*url, kJson, QJsonDocument(body).toJson(QJsonDocument::Compact), context,
         decodeWith<Record, T>(std::move(done), std::move(pick)));
}

void EngineClient::checkSpeechServer(const SpeechCheckRequest& request, qint64 port, QObject* context,
                                     Done<QString> done)
{
    postJson<TextBody, QString>(QStringLiteral("/speech-check"), request.toJson(), port, context,
                                std::move(done), &TextBody::text);
}

void EngineClient::polish(const PolishBody& body, qint64 port, QObject* context, Done<QString> done)
{
    postJson<TextBody, QString>(QStringLiteral("/polish"), body.toJson(), port, context, std::move(done),
                                &TextBody::text);
}

void EngineClient::correctionModel(const CorrectionModelRequest& request, qint64 port, QObject* context,
                                   Done<CorrectionModelBody> done)
{
    postJson<CorrectionModelBody, CorrectionModelBody>(
        QStringLiteral("/correction-model"), request.toJson(), port, context, std::move(done),
        [](const CorrectionModelBody& reply) { return reply; });
}

void EngineClient::prewarm(qint64 port)
{
    postEmpty(QStringLiteral("/warmup"), port, kRequestTimeoutMs, nullptr, {});
}

void EngineClient::requestShutdown(qint64 port)
{
    postEmpty(QStringLiteral("/shutdown"), port, kRequestTimeoutMs, nullptr, {});
}

void EngineClient::health(qint64 port, QObject* context, Done<HealthBody> done)
{
    const auto url = endpointOrFail(QStringLiteral("/health"), port, context, done);
    if (!url)
        return;
    QNetworkRequest r = request(*url);
    const QByteArray challenge = EngineSecret::challenge();
    r.setRawHeader(EngineSecret::challengeHeader, challenge);
    watch(m_network.get(r), kPollTimeoutMs, kMaxHealthBytes, context,
          [this, done = std::move(done), challenge, port](QNetworkReply* reply, Ending ending) {
              // Something answered HTTP on the port; unless it proves it knows our secret it is
              // another program, or an engine of ours from before the secret was renewed.
              if (reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).isValid() &&
                  !m_secret.proves(challenge, reply->rawHeader(EngineSecret::proofHeader))) {
                  done(EngineError{EngineError::Kind::Untrusted,
                                   L10n::format(QStringLiteral("engine.portTaken"), {port})});
                  return;
              }
              if (const auto error = cutOff(ending)) {
                  done(*error);
                  return;
              }
              if (const auto body = HealthBody::decode(reply->readAll())) {
                  done(*body);
                  return;
              }
              if (isTransportError(reply->error()))
                  done(EngineError{EngineError::Kind::Transport, reply->errorString()});
              else
                  done(undecodable());
          });
}

QNetworkRequest EngineClient::request(const QUrl& url) const
{
    QNetworkRequest request(url);
    request.setRawHeader(EngineSecret::tokenHeader, m_secret.token());
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    request.setAttribute(QNetworkRequest::CacheSaveControlAttribute, false);
    request.setAttribute(QNetworkRequest::CookieLoadControlAttribute, QNetworkRequest::Manual);
    request.setAttribute(QNetworkRequest::CookieSaveControlAttribute, QNetworkRequest::Manual);
    return request;
}

void EngineClient::post(const QUrl& url, const QByteArray& contentType, const QByteArray& body,
                        QObject* context, Done<QByteArray> done,
                        const QList<std::pair<QByteArray, QByteArray>>& headers)
{
    QNetworkRequest r = request(url);
    r.setHeader(QNetworkRequest::ContentTypeHeader, contentType);
    for (const auto& [name, value] : headers)
        r.setRawHeader(name, value);
    watch(m_network.post(r, body), kRequestTimeoutMs, kMaxReplyBytes, context,
          [done = std::move(done)](QNetworkReply* reply, Ending ending) {
              if (const auto error = cutOff(ending)) {
                  done(*error);
                  return;
              }
              if (isTransportError(reply->error())) {
                  done(EngineError{EngineError::Kind::Transport, reply->errorString()});
                  return;
              }
              const QByteArray bytes = reply->readAll();
              const QVariant status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
              if (const auto error =
                      validate(bytes, status.isValid() ? std::optional(status.toInt()) : std::nullopt)) {
                  done(*error);
                  return;
              }
              done(bytes);
          });
}

void EngineClient::postEmpty(const QString& path, qint64 port, int timeoutMs, QObject* context,
                             std::function<void()> done)
{
    const auto url = endpoint(path, port);
    if (!url) {
        if (done)
            failLater(context, std::move(done));
        return;
    }
    // A custom POST with an empty body goes out with no Content-Type, which a plain post() would add.
    watch(m_network.sendCustomRequest(request(*url), QByteArrayLiteral("POST"), QByteArray()), timeoutMs,
          kMaxHealthBytes, context ? context : this, [done = std::move(done)](QNetworkReply*, Ending) {
              if (done)
                  done();
          });
}

void EngineClient::watch(QNetworkReply* reply, int timeoutMs, qint64 maxBytes, QObject* context,
                         Finish finish)
{
    auto ending = std::make_shared<Ending>(Ending::Answered);
    const Clock::TimerId timer = m_clock.singleShot(timeoutMs, reply, [reply, ending] {
        *ending = Ending::TimedOut;
        reply->abort();
    });
    connect(reply, &QIODevice::readyRead, reply, [reply, ending, maxBytes] {
        if (reply->bytesAvailable() > maxBytes) {
            *ending = Ending::TooLarge;
            reply->abort();
        }
    });
    // A caller that is gone has cancelled: the connection is closed, so the engine stops working
    // for nobody and a later request does not queue behind it.
    if (context)
        connect(context, &QObject::destroyed, reply, [reply] { reply->abort(); });
    // The reply is read here, on the client's thread, before it is deleted; a caller's context
    // only decides whether anyone still wants the answer, and without one the answer always comes.
    connect(reply, &QNetworkReply::finished, this,
            [this, reply, timer, ending, bound = context != nullptr, guard = QPointer<QObject>(context),
             finish = std::move(finish)] {
                m_clock.cancel(timer);
                if (guard || !bound)
                    finish(reply, *ending);
            });
}

void EngineClient::failLater(QObject* context, std::function<void()> report)
{
    // Failures are reported as late as answers, so a caller never sees its callback re-entered.
    QMetaObject::invokeMethod(context ? context : this, std::move(report), Qt::QueuedConnection);
}
