#include "state_fixture.h"

#include "platform/linux/net/http_update_feed.h"

#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>

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
        {"same version, shorter form", true, release("1.4"), UpdateStatus::current()},
        {"same version, longer form", false, release("1.4.0.0"), UpdateStatus::current()},
        {"older version", false, release("1.3.9"), UpdateStatus::current()},
        {"failure, by the user", true, std::nullopt, UpdateStatus::failed()},
        {"failure, in the background", false, std::nullopt, UpdateStatus::idle()},
        {"unusable version", true, AppRelease{s("soon"), QUrl()}, UpdateStatus::failed()},
    };
    for (const Case& c : cases) {
        AppState& st = makeState(&m_feed);
        st.checkForUpdate(c.userInitiated, false);
        EXPECT_EQ(st.update(), UpdateStatus::checking()) << c.name;
        c.reply ? m_feed.answer(*c.reply) : m_feed.fail(s("offline"));
        EXPECT_EQ(st.update(), c.expected) << c.name;
    }
}

TEST_F(UpdateCheck, AStaleReplyIsDroppedAndABackgroundFailureRestoresTheEarlierValue) {
    AppState& st = makeState(&m_feed);
    st.checkForUpdate(true, false);
    m_feed.answer(release("2.0.0"));
    st.checkForUpdate(false, false);
    st.checkForUpdate(false, false); // supersedes the first while it runs
    m_feed.answer(release("9.0.0")); // the stale reply
    EXPECT_EQ(st.update(), UpdateStatus::checking());
    m_feed.fail(s("offline"));
    EXPECT_EQ(st.update(), UpdateStatus::available(release("2.0.0")));
}

TEST_F(UpdateCheck, AutomaticInstallWaitsForIdleSkipsADismissedVersionAndEndsInFailed) {
    makeState(&m_feed).checkForUpdate(true, false);
    m_feed.answer(release("1.5.0"));
    state().dismissUpdate();
    AppState& st = makeState(&m_feed); // remembers the dismissed version
    // Version, dismissed while the dictation runs, installed.
    for (const auto& [version, dismissNow, installed] :
         {std::tuple{"1.5.0", false, false}, std::tuple{"1.6.0", true, false},
          std::tuple{"1.7.0", false, true}}) {
        st.setPhase(Phase::listening());
        st.checkForUpdate(false); // installs automatically
        m_feed.answer(release(version));
        EXPECT_EQ(st.update(), UpdateStatus::available(release(version))) << version;
        if (dismissNow)
            st.dismissUpdate();
        st.setPhase(Phase::idle());
        EXPECT_EQ(st.update(), installed ? UpdateStatus::failed() : UpdateStatus::available(release(version)))
            << version;
    }
    EXPECT_TRUE(logged().contains(s("cannot install 1.7.0")));
}

TEST_F(UpdateCheck, HttpFeedOverLoopback) {
    const QByteArray good = R"({"version":"1.5.0","pkgURL":"https://example.org/quenda-1.5.0.deb"})";
    const QByteArray ftp = R"({"version":"1.5.0","pkgURL":"ftp://example.org/quenda-1.5.0.deb"})";
    for (const auto& [status, body, expected] :
         {std::tuple{QByteArray("200 OK"), good, UpdateStatus::available(release("1.5.0"))},
          std::tuple{QByteArray("500 Internal Server Error"), good, UpdateStatus::failed()},
          std::tuple{QByteArray("200 OK"), ftp, UpdateStatus::failed()}}) {
        QTcpServer server;
        ASSERT_TRUE(server.listen(QHostAddress::LocalHost));
        const QByteArray response = "HTTP/1.1 " + status +
                                    "\r\nContent-Length: " + QByteArray::number(body.size()) +
                                    "\r\nConnection: close\r\n\r\n" + body;
        QObject::connect(&server, &QTcpServer::newConnection, &server, [&server, response] {
            QTcpSocket* socket = server.nextPendingConnection();
            QObject::connect(socket, &QTcpSocket::readyRead, socket, [socket, response] {
                if (!socket->peek(socket->bytesAvailable()).contains("\r\n\r\n"))
                    return; // the request is not complete yet
                socket->readAll();
                socket->write(response);
                socket->disconnectFromHost();
            });
        });
        HttpUpdateFeed feed(QUrl(QStringLiteral("http://127.0.0.1:%1/feed.json").arg(server.serverPort())));
        AppState& st = makeState(&feed);
        QSignalSpy changes(&st, &AppState::updateChanged);
        st.checkForUpdate(true, false);
        ASSERT_TRUE(changes.wait(5000)) << status.constData();
        EXPECT_EQ(st.update(), expected) << status.constData() << body.constData();
    }
}
