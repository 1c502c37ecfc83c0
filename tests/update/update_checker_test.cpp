#include "temp_support_dir.h"
#include "test_text.h"

#include "platform/fake/fake_update_feed.h"
#include "platform/linux/net/http_update_feed.h"
#include "update/update_checker.h"

#include <QDir>
#include <QSettings>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>

#include <memory>

namespace {

AppRelease release(const char* version)
{
    return {s(version), QUrl(QStringLiteral("https://example.org/quenda-%1.deb").arg(s(version)))};
}

} // namespace

// A checker of version 1.4.0 with its user defaults in a temp file.
class UpdateCheck : public TempSupportDir {
protected:
    void TearDown() override
    {
        m_checker.reset();
        TempSupportDir::TearDown();
    }
    // A second call replaces the checker, as a restart of the program would.
    UpdateChecker& makeChecker(UpdateFeed* feed)
    {
        m_checker.reset();
        m_checker = std::make_unique<UpdateChecker>(feed, m_settings, s("1.4.0"));
        return *m_checker;
    }
    UpdateChecker& checker() { return *m_checker; }

    FakeUpdateFeed m_feed;
    QSettings m_settings{QDir(root()).filePath(s("defaults.ini")), QSettings::IniFormat};

private:
    std::unique_ptr<UpdateChecker> m_checker;
};

TEST_F(UpdateCheck, ResultsOfACheckByWhoStartedIt)
{
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
        UpdateChecker& updates = makeChecker(&m_feed);
        updates.check(c.userInitiated, false);
        EXPECT_EQ(updates.status(), UpdateStatus::checking()) << c.name;
        c.reply ? m_feed.answer(*c.reply) : m_feed.fail(s("offline"));
        EXPECT_EQ(updates.status(), c.expected) << c.name;
    }
}

TEST_F(UpdateCheck, AStaleReplyIsDroppedAndABackgroundFailureRestoresTheEarlierValue)
{
    UpdateChecker& updates = makeChecker(&m_feed);
    updates.check(true, false);
    m_feed.answer(release("2.0.0"));
    updates.check(false, false);
    updates.check(false, false);     // supersedes the first while it runs
    m_feed.answer(release("9.0.0")); // the stale reply
    EXPECT_EQ(updates.status(), UpdateStatus::checking());
    m_feed.fail(s("offline"));
    EXPECT_EQ(updates.status(), UpdateStatus::available(release("2.0.0")));
}

TEST_F(UpdateCheck, AutomaticInstallWaitsForIdleSkipsADismissedVersionAndEndsInFailed)
{
    makeChecker(&m_feed).check(true, false);
    m_feed.answer(release("1.5.0"));
    checker().dismiss();
    UpdateChecker& updates = makeChecker(&m_feed); // remembers the dismissed version
    // Version, dismissed while the dictation runs, installed.
    for (const auto& [version, dismissNow, installed] :
         {std::tuple{"1.5.0", false, false}, std::tuple{"1.6.0", true, false},
          std::tuple{"1.7.0", false, true}}) {
        updates.setIdle(false);
        updates.check(false); // installs automatically
        m_feed.answer(release(version));
        EXPECT_EQ(updates.status(), UpdateStatus::available(release(version))) << version;
        if (dismissNow)
            updates.dismiss();
        updates.setIdle(true);
        EXPECT_EQ(updates.status(),
                  installed ? UpdateStatus::failed() : UpdateStatus::available(release(version)))
            << version;
    }
    EXPECT_TRUE(logged().contains(s("cannot install 1.7.0")));
}

TEST_F(UpdateCheck, HttpFeedOverLoopback)
{
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
        UpdateChecker& updates = makeChecker(&feed);
        QSignalSpy changes(&updates, &UpdateChecker::statusChanged);
        updates.check(true, false);
        ASSERT_TRUE(changes.wait(5000)) << status.constData();
        EXPECT_EQ(updates.status(), expected) << status.constData() << body.constData();
    }
}

// A check without a feed could only fail, into the log, each time the popover opened.
TEST_F(UpdateCheck, WithoutAFeedNoCheckRunsAndNothingIsLogged)
{
    UpdateChecker& updates = makeChecker(nullptr);
    EXPECT_FALSE(updates.checks());
    updates.check(true);
    updates.check(false, false);
    EXPECT_EQ(updates.status(), UpdateStatus::idle());
    EXPECT_FALSE(logged().contains(s("update:")));
}
