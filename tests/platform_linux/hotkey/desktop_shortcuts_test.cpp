#include "kwin_process.h"
#include "private_bus.h"
#include "service_check.h"

#include "platform/fake/manual_clock.h"
#include "platform/linux/hotkey/kglobalaccel_key_source.h"
#include "platform/linux/hotkey/portal_key_source.h"
#include "platform/linux/portal/portal_version.h"
#include "platform/linux/wayland/kwin_fake_input.h"
#include "platform/linux/wayland/wayland_connection.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QTest>

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr int kWaitMs = 5000;

class Log final : public KeySource::Listener {
public:
    std::string text;

    void keyPressed(PhysicalKey key) override { text += key == PhysicalKey::RightAlt ? "vA" : "vC"; }
    void keyReleased(PhysicalKey key) override { text += key == PhysicalKey::RightAlt ? "^A" : "^C"; }
};

const QString kglobalaccel = QStringLiteral("org.kde.kglobalaccel");
const QString hold = QStringLiteral("hold");

// The hold action's key as the service is asked to set it.
BusCall shortcut(int key)
{
    return {QStringLiteral("shortcut"), {hold, key, 6u}};
}

// KDE's global shortcut service, as far as a client sees it.
class FakeKGlobalAccel final : public FakeService {
public:
    explicit FakeKGlobalAccel(const PrivateBus& bus)
        : FakeService(bus, kglobalaccel, QStringLiteral("/kglobalaccel"))
    {
    }
    ~FakeKGlobalAccel() override { stop(); }
    Q_DISABLE_COPY_MOVE(FakeKGlobalAccel)

    void emitShortcut(const char* signal, const QString& action)
    {
        QDBusMessage message = QDBusMessage::createSignal(QStringLiteral("/component/quenda"),
                                                          QStringLiteral("org.kde.kglobalaccel.Component"),
                                                          QLatin1String(signal));
        message << QStringLiteral("quenda") << action << qlonglong(0);
        send(message);
    }

private:
    void answer(const QDBusMessage& message, const QDBusConnection& connection) override
    {
        const QVariantList args = message.arguments();
        const QString action = args.value(0).toStringList().value(1);
        QDBusMessage reply = message.createReply();
        if (message.member() == QLatin1String("doRegister")) {
            record({QStringLiteral("register"), {action}});
        } else if (message.member() == QLatin1String("setShortcut")) {
            const auto keys = qdbus_cast<QList<int>>(args.value(1));
            record({QStringLiteral("shortcut"), {action, keys.value(0), args.value(2).toUInt()}});
            reply = message.createReply(QVariant::fromValue(keys));
        } else if (message.member() == QLatin1String("setInactive")) {
            record({QStringLiteral("inactive"), {action}});
        }
        connection.send(reply);
    }
};

class KGlobalAccelTest : public ::testing::Test {
protected:
    void SetUp() override { qDBusRegisterMetaType<QList<int>>(); }

    const PrivateBus m_bus;
    FakeKGlobalAccel m_service{m_bus};
    const QDBusConnection m_client = m_bus.connect(QStringLiteral("client"));
    ManualClock m_clock;
};

TEST_F(KGlobalAccelTest, TheModifierAloneIsRegisteredReportedAndGivenBackAtTheStop)
{
    EXPECT_TRUE(KGlobalAccelKeySource::offered(m_client));
    EXPECT_FALSE(KGlobalAccelKeySource::offered(m_client, QStringLiteral("org.quenda.test.None")));

    KGlobalAccelKeySource source(m_clock, m_client);
    Log log;
    source.watch(PhysicalKey::RightControl);
    source.start(log);
    ASSERT_TRUE(QTest::qWaitFor([&] { return m_service.calls().size() == 2; }, kWaitMs));
    // SetPresent | NoAutoloading: the key is set now, whatever was saved before.
    EXPECT_EQ(m_service.calls(),
              (QList<BusCall>{{QStringLiteral("register"), {hold}}, shortcut(Qt::Key_Control)}));

    m_service.emitShortcut("globalShortcutPressed", QStringLiteral("other"));
    m_service.emitShortcut("globalShortcutPressed", QStringLiteral("hold"));
    m_service.emitShortcut("globalShortcutReleased", QStringLiteral("hold"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return log.text.size() >= 4; }, kWaitMs));
    EXPECT_EQ(log.text, "vC^C");

    // The same service serves another key of the user's choice.
    source.watch(PhysicalKey::RightAlt);
    ASSERT_TRUE(QTest::qWaitFor([&] { return m_service.calls().size() == 3; }, kWaitMs));
    EXPECT_EQ(m_service.calls().last(), shortcut(Qt::Key_Alt));
    m_service.emitShortcut("globalShortcutPressed", QStringLiteral("hold"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return log.text.size() >= 6; }, kWaitMs));
    EXPECT_EQ(log.text, "vC^CvA");

    source.stop();
    ASSERT_TRUE(QTest::qWaitFor([&] { return m_service.calls().size() == 4; }, kWaitMs));
    EXPECT_EQ(m_service.calls().last(), (BusCall{QStringLiteral("inactive"), {hold}}));
    // A source still listening hears the same signals after the stopped one would have.
    KGlobalAccelKeySource witness(m_clock, m_client);
    Log heard;
    witness.start(heard);
    ASSERT_TRUE(QTest::qWaitFor([&] { return m_service.calls().size() == 6; }, kWaitMs));
    m_service.emitShortcut("globalShortcutReleased", QStringLiteral("hold"));
    m_service.emitShortcut("globalShortcutPressed", QStringLiteral("hold"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return heard.text == "vC"; }, kWaitMs)) << heard.text;
    EXPECT_EQ(log.text, "vC^CvA");
}

// KDE's own service in a headless KWin, whose fake keyboard holds Control: the lone Control
// shortcut must report the hold.
TEST(KGlobalAccelOnKWin, AHeldControlIsReportedAsPressAndRelease)
{
    KwinProcess kwin(KwinProcess::Shortcuts::On);
    QUENDA_NEEDS_SERVICE(!kwin.waylandDisplay().isEmpty(), "a headless KWin (Debian's kwin-wayland)");
    ASSERT_TRUE(kwin.installProgramEntry());
    const QDBusConnection bus = kwin.bus().connect(QStringLiteral("client"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return KGlobalAccelKeySource::offered(bus); }, kWaitMs));
    ManualClock clock;
    KGlobalAccelKeySource source(clock, bus);
    Log log;
    source.watch(PhysicalKey::RightControl);
    source.start(log);
    // Registered once the service knows the component.
    QDBusMessage component = QDBusMessage::createMethodCall(
        QStringLiteral("org.kde.kglobalaccel"), QStringLiteral("/kglobalaccel"),
        QStringLiteral("org.kde.KGlobalAccel"), QStringLiteral("getComponent"));
    component << QStringLiteral("quenda");
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return bus.call(component).type() == QDBusMessage::ReplyMessage; }, kWaitMs));

    WaylandConnection connection(kwin.waylandDisplay());
    KwinFakeInput keyboard(connection, QStringLiteral("Quenda"));
    ASSERT_EQ(keyboard.unavailable().toStdString(), "");
    ASSERT_TRUE(keyboard.press(SyntheticKeyboard::Key::Control).ok());
    ASSERT_TRUE(QTest::qWaitFor([&] { return log.text == "vC"; }, kWaitMs)) << log.text;
    ASSERT_TRUE(keyboard.release(SyntheticKeyboard::Key::Control).ok());
    ASSERT_TRUE(QTest::qWaitFor([&] { return log.text == "vC^C"; }, kWaitMs)) << log.text;
}

// The desktop portal's global shortcuts, as far as a client sees them: requests answered at once.
class FakePortal final : public FakeService {
public:
    explicit FakePortal(const PrivateBus& bus)
        : FakeService(bus, QStringLiteral("org.freedesktop.portal.Desktop"),
                      QStringLiteral("/org/freedesktop/portal/desktop"))
    {
    }
    ~FakePortal() override { stop(); }
    Q_DISABLE_COPY_MOVE(FakePortal)

    QString session() const
    {
        const QMutexLocker lock(&m_mutex);
        return m_session;
    }
    QList<PortalShortcut> bound() const
    {
        const QMutexLocker lock(&m_mutex);
        return m_bound;
    }
    void emitShortcut(const char* signal, const QString& session)
    {
        QDBusMessage message = QDBusMessage::createSignal(
            QStringLiteral("/org/freedesktop/portal/desktop"),
            QStringLiteral("org.freedesktop.portal.GlobalShortcuts"), QLatin1String(signal));
        message << QVariant::fromValue(QDBusObjectPath(session)) << QStringLiteral("hold") << qulonglong(0)
                << QVariantMap();
        send(message);
    }

private:
    void answer(const QDBusMessage& message, const QDBusConnection& connection) override
    {
        const QVariantList args = message.arguments();
        const QMutexLocker lock(&m_mutex);
        if (message.member() == QLatin1String("Get")) {
            connection.send(message.createReply(QVariant::fromValue(QDBusVariant(1u))));
        } else if (message.member() == QLatin1String("CreateSession")) {
            QString sender = message.service().mid(1).replace(u'.', u'_');
            m_session = QStringLiteral("/org/freedesktop/portal/desktop/session/%1/%2")
                            .arg(sender, qdbus_cast<QVariantMap>(args.value(0))
                                             .value(QStringLiteral("session_handle_token"))
                                             .toString());
            answerRequest(message, connection, 0, {{QStringLiteral("session_handle"), m_session}});
        } else {
            if (args.value(0).value<QDBusObjectPath>().path() == m_session)
                m_bound = qdbus_cast<QList<PortalShortcut>>(args.value(1));
            answerRequest(message, connection, 0);
        }
    }

    mutable QMutex m_mutex;
    QString m_session;
    QList<PortalShortcut> m_bound;
};

class PortalTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        qDBusRegisterMetaType<PortalShortcut>();
        qDBusRegisterMetaType<QList<PortalShortcut>>();
    }

    const PrivateBus m_bus;
    FakePortal m_portal{m_bus};
    const QDBusConnection m_client = m_bus.connect(QStringLiteral("client"));
    ManualClock m_clock;
};

TEST_F(PortalTest, TheShortcutIsBoundAndActivationsArePressesWithAHoldLimit)
{
    const QString shortcuts = QStringLiteral("org.freedesktop.portal.GlobalShortcuts");
    EXPECT_EQ(DesktopPortal::version(m_client, shortcuts, kWaitMs), 1u);
    EXPECT_EQ(DesktopPortal::version(m_client, shortcuts, kWaitMs, QStringLiteral("org.quenda.test.None")),
              0u);

    PortalKeySource source(m_clock, m_client);
    Log log;
    source.watch(PhysicalKey::RightAlt);
    source.start(log);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !m_portal.bound().isEmpty(); }, kWaitMs));
    EXPECT_EQ(m_portal.bound().constFirst().id, QStringLiteral("hold"));
    EXPECT_EQ(m_portal.bound().constFirst().properties.value(QStringLiteral("preferred_trigger")).toString(),
              QStringLiteral("Alt_R"));

    // Another program's session is not ours.
    m_portal.emitShortcut("Activated", m_portal.session() + QStringLiteral("x"));
    m_portal.emitShortcut("Activated", m_portal.session());
    m_portal.emitShortcut("Deactivated", m_portal.session());
    ASSERT_TRUE(QTest::qWaitFor([&] { return log.text.size() >= 4; }, kWaitMs));
    EXPECT_EQ(log.text, "vA^A");

    // A desktop that sends no Deactivated: the hold ends at the limit.
    m_portal.emitShortcut("Activated", m_portal.session());
    ASSERT_TRUE(QTest::qWaitFor([&] { return log.text.size() >= 6; }, kWaitMs));
    m_clock.advance(RouteKey::lossyHoldLimitMs - 1);
    EXPECT_EQ(log.text, "vA^AvA");
    m_clock.advance(1);
    EXPECT_EQ(log.text, "vA^AvA^A");
}

} // namespace
