#pragma once

#include "platform/update_feed.h"

#include <QNetworkAccessManager>
#include <QObject>
#include <QUrl>

// The update feed over HTTP(S): a GET of the feed address answers a JSON object
// {"version": "1.2.0", "pkgURL": "https://…"} naming the newest release.
class HttpUpdateFeed final : public QObject, public UpdateFeed {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(HttpUpdateFeed)

public:
    static constexpr int timeoutMs = 20'000;
    static constexpr qint64 maxReplyBytes = 64 * 1024;

    // The address given at build time (QUENDA_UPDATE_FEED_URL); empty when none was.
    static QUrl builtInUrl();

    explicit HttpUpdateFeed(QUrl feedUrl, QObject* parent = nullptr);

    void fetchLatest(QObject* context, std::function<void(const Reply&)> done) override;

    // The release a feed's reply body names, or why it names none.
    static Reply parse(const QByteArray& body);

private:
    QUrl m_url;
    QNetworkAccessManager m_network;
};
