#include "state_fixture.h"

#include "core/run_mode.h"
#include "http_update_feed.h"

#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

#include <memory>

namespace {

AppRelease release(const char* version) {
    return {s(version), QUrl(QStringLiteral("https://example.org/quenda-%1.deb").arg(s(version)))};
}

} // namespace

class UpdateCheck : public StateFixture {
protected:
    FakeUpdateFeed m_feed;
};

TEST_F(UpdateCheck, ResultsOfACheckByWhoStartedIt) {
    struct Case {
        const char* name;
        bool userInitiated;
        std::optional<AppRelease> reply;
        UpdateStatus expected;
    };
    const QList<Case> cases{
        {"newer, by the user", true, release("1.5.0"), UpdateStatus::available(release("1.5.0"))},
        {"same version", true, release("1.4.0"), UpdateStatus::current()},
        {"same version, longer form", true, release("1.4.0.0"), UpdateStatus::current()},
        {"older version", false, release("1.3.9"), UpdateStatus::current()},
        {"failure, by the user", true, std::nullopt, UpdateStatus::failed()},
        {"failure, in the background", false, std::nullopt, UpdateStatus::idle()},
        {"unusable version", true, AppRelease{s("soon"), QUrl()}, UpdateStatus::failed()},
    };
    for (const Case& c : cases) {
        AppState& st = makeState(&m_feed);
        st.checkForUpdate(c.userInitiated, false);
        EXPECT_EQ(st.update(), UpdateStatus::checking()) << c.name;
        if (c.reply)
            m_feed.answer(*c.reply);
        else
            m_feed.fail(QStringLiteral("offline"));
        EXPECT_EQ(st.update(), c.expected) << c.name;
        EXPECT_EQ(st.availableRelease(), c.expected.release()) << c.name;
    }
}

TEST_F(UpdateCheck, ABackgroundFailureReturnsToTheEarlierValueNeverToChecking) {
    AppState& st = makeState(&m_feed);
    st.checkForUpdate(true, false);
    m_feed.answer(release("2.0.0"));
    st.checkForUpdate(false, false);
    st.checkForUpdate(false, false); // supersedes the first while it runs
    m_feed.answer(release("9.0.0")); // the stale reply is dropped
    EXPECT_EQ(st.update(), UpdateStatus::checking());
    m_feed.fail(QStringLiteral("offline"));
    EXPECT_EQ(st.update(), UpdateStatus::available(release("2.0.0")));
}

TEST_F(UpdateCheck, WithoutAFeedUserChecksFailAndBackgroundChecksChangeNothing) {
    AppState& st = makeState(nullptr);
    QSignalSpy changes(&st, &AppState::updateChanged);
    st.checkForUpdate(false);
    EXPECT_EQ(st.update(), UpdateStatus::idle());
    st.checkForUpdate(true);
    EXPECT_EQ(st.update(), UpdateStatus::failed());
    EXPECT_EQ(changes.count(), 4); // checking, idle, checking, failed
}

TEST_F(UpdateCheck, AutomaticInstallWaitsForIdleAndFailsInsteadOfPretending) {
    AppState& st = makeState(&m_feed);
    st.setPhase(Phase::listening());
    st.checkForUpdate(false); // installs automatically
    m_feed.answer(release("1.5.0"));
    EXPECT_EQ(st.update(), UpdateStatus::available(release("1.5.0")));
    st.setPhase(Phase::transcribing());
    EXPECT_TRUE(st.update().is(UpdateStatus::Kind::Available));
    st.setPhase(Phase::idle());
    EXPECT_EQ(st.update(), UpdateStatus::failed());
}

TEST_F(UpdateCheck, ADismissedVersionIsNotInstalledAndIsRemembered) {
    AppState& st = makeState(&m_feed);
    st.checkForUpdate(true, false);
    m_feed.answer(release("1.5.0"));
    EXPECT_FALSE(st.dismissedUpdate());
    st.dismissUpdate();
    EXPECT_TRUE(st.dismissedUpdate());
    EXPECT_EQ(m_settings->value(QStringLiteral("quenda.dismissedUpdate")).toString(), s("1.5.0"));

    AppState& next = makeState(&m_feed);
    next.checkForUpdate(false);
    m_feed.answer(release("1.5.0"));
    EXPECT_TRUE(next.dismissedUpdate());
    EXPECT_EQ(next.update(), UpdateStatus::available(release("1.5.0")));
    next.checkForUpdate(false);
    m_feed.answer(release("1.6.0"));
    EXPECT_FALSE(next.dismissedUpdate());
    EXPECT_EQ(next.update(), UpdateStatus::failed()); // a newer one is installed, which fails here
}

TEST_F(UpdateCheck, SnapshotModeChecksNothing) {
    RunMode::setSnapshot(true);
    AppState& st = makeState(&m_feed);
    st.checkForUpdate(true);
    EXPECT_EQ(m_feed.requests(), 0);
    EXPECT_EQ(st.update(), UpdateStatus::idle());
}

// A one-shot HTTP server on 127.0.0.1 that answers every request with the same response.
class FeedServer final {
public:
    explicit FeedServer(QByteArray response)
        : m_response(std::move(response)) {
        QObject::connect(&m_server, &QTcpServer::newConnection, &m_server, [this] {
            QTcpSocket* socket = m_server.nextPendingConnection();
            auto request = std::make_shared<QByteArray>();
            QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket, request] {
                *request += socket->readAll();
                if (!request->contains("\r\n\r\n"))
                    return;
                socket->write(m_response);
                socket->disconnectFromHost();
            });
        });
        m_server.listen(QHostAddress::LocalHost);
    }
    QUrl url() const {
        return QUrl(QStringLiteral("http://127.0.0.1:%1/feed.json").arg(m_server.serverPort()));
    }

private:
    QTcpServer m_server;
    QByteArray m_response;
};

QByteArray httpResponse(const QByteArray& status, const QByteArray& body) {
    return "HTTP/1.1 " + status +
           "\r\nContent-Type: application/json\r\nContent-Length: " + QByteArray::number(body.size()) +
           "\r\nConnection: close\r\n\r\n" + body;
}

TEST_F(UpdateCheck, HttpFeedOverLoopback) {
    struct Case {
        const char* name;
        QByteArray response;
        UpdateStatus expected;
    };
    const QList<Case> cases{
        {"newer release",
         httpResponse("200 OK", R"({"version":"1.5.0","pkgURL":"https://example.org/quenda-1.5.0.deb"})"),
         UpdateStatus::available(release("1.5.0"))},
        {"current release",
         httpResponse("200 OK", R"({"version":"1.4.0","pkgURL":"https://example.org/q.deb"})"),
         UpdateStatus::current()},
        {"server error", httpResponse("500 Internal Server Error", "{}"), UpdateStatus::failed()},
        {"not JSON", httpResponse("200 OK", "<html>"), UpdateStatus::failed()},
        {"no package address", httpResponse("200 OK", R"({"version":"1.5.0","pkgURL":"file:///etc/passwd"})"),
         UpdateStatus::failed()},
        {"oversized body", httpResponse("200 OK", QByteArray(HttpUpdateFeed::maxReplyBytes + 10, ' ')),
         UpdateStatus::failed()},
    };
    for (const Case& c : cases) {
        FeedServer server(c.response);
        HttpUpdateFeed feed(server.url());
        AppState& st = makeState(&feed);
        QSignalSpy changes(&st, &AppState::updateChanged);
        st.checkForUpdate(true, false);
        ASSERT_TRUE(changes.wait(5000)) << c.name;
        EXPECT_EQ(st.update(), c.expected) << c.name;
    }
}

TEST(HttpUpdateFeed, AnUnreachableFeedFails) {
    QTcpServer closed;
    closed.listen(QHostAddress::LocalHost);
    const quint16 port = closed.serverPort();
    closed.close();
    HttpUpdateFeed feed(QUrl(QStringLiteral("http://127.0.0.1:%1/").arg(port)));
    QObject context;
    std::optional<UpdateFeed::Reply> reply;
    feed.fetchLatest(&context, [&](const UpdateFeed::Reply& r) { reply = r; });
    ASSERT_TRUE(QTest::qWaitFor([&] { return reply.has_value(); }, 5000));
    EXPECT_FALSE(reply->release);
    EXPECT_FALSE(reply->error.isEmpty());
}
