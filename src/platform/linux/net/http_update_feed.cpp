#include "platform/linux/net/http_update_feed.h"

#include "core/base/guarded_reply.h"
#include "core/base/json_fields.h"

#include <QJsonObject>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QVersionNumber>

QUrl HttpUpdateFeed::builtInUrl()
{
    return QUrl(QStringLiteral(QUENDA_UPDATE_FEED_URL));
}

HttpUpdateFeed::HttpUpdateFeed(QUrl feedUrl, QObject* parent)
    : QObject(parent)
    , m_url(std::move(feedUrl))
{
}

UpdateFeed::Reply HttpUpdateFeed::parse(const QByteArray& body)
{
    const auto parsed = JsonText::parseObject(body);
    if (!parsed)
        return {std::nullopt, QStringLiteral("the feed did not answer a JSON object")};
    const QJsonObject& object = *parsed;
    const QString version = object.value(QStringLiteral("version")).toString();
    const QUrl url(object.value(QStringLiteral("pkgURL")).toString(), QUrl::StrictMode);
    if (QVersionNumber::fromString(version).isNull())
        return {std::nullopt, QStringLiteral("the feed named no usable version")};
    const QString scheme = url.scheme();
    if (!url.isValid() || url.host().isEmpty() ||
        (scheme != QLatin1String("https") && scheme != QLatin1String("http")))
        return {std::nullopt, QStringLiteral("the feed named no usable package address")};
    return {AppRelease{version, url}, {}};
}

void HttpUpdateFeed::fetchLatest(QObject* context, std::function<void(const Reply&)> done)
{
    if (!m_url.isValid() || m_url.isRelative()) {
        QMetaObject::invokeMethod(
            context,
            [done] {
                done({std::nullopt, QStringLiteral("the feed address is not valid")});
            },
            Qt::QueuedConnection);
        return;
    }
    QNetworkRequest request(m_url);
    request.setTransferTimeout(timeoutMs);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
    QNetworkReply* reply = m_network.get(request);
    const GuardedReply<const Reply&> answer(context, std::move(done));
    // The feed is not trusted to be small.
    connect(reply, &QNetworkReply::downloadProgress, reply, [reply](qint64 received, qint64) {
        if (received > maxReplyBytes)
            reply->abort();
    });
    connect(reply, &QNetworkReply::finished, this, [reply, answer] {
        reply->deleteLater();
        if (!answer.context())
            return;
        if (reply->error() != QNetworkReply::NoError) {
            answer({std::nullopt, QStringLiteral("the feed could not be read: ") + reply->errorString()});
            return;
        }
        const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        if (status != 200) {
            answer({std::nullopt, QStringLiteral("the feed answered HTTP %1").arg(status)});
            return;
        }
        answer(parse(reply->read(maxReplyBytes + 1)));
    });
}
