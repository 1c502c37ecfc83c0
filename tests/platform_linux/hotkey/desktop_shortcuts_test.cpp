#include "kwin_process.h"
#include "service_check.h"

#include "platform/fake/manual_clock.h"
#include "platform/linux/hotkey/kglobalaccel_key_source.h"
#include "platform/linux/hotkey/portal_key_source.h"
#include "platform/linux/wayland/kwin_fake_input.h"
#include "platform/linux/wayland/wayland_connection.h"

#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <string>

namespace {

constexpr int kWaitMs = 5000;

class Log final : public KeySource::Listener {
public:
    std::string text;

    void keyPressed(PhysicalKey key) override { text += key == PhysicalKey::RightAlt ? "vA" : "vC"; }
    void keyReleased(PhysicalKey key) override { text += key == PhysicalKey::RightAlt ? "^A" : "^C"; }
};

// A service of the test's own on the private session bus, on a connection apart from the one the
// source uses, as a desktop service would be.
QDBusConnection serviceBus(const QString& name)
{
    return QDBusConnection::connectToBus(QDBusConnection::SessionBus, name);
}

// KDE's global shortcut service, as far as a client sees it.
class FakeKGlobalAccel final : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.KGlobalAccel")

public:
    QStringList calls;

public slots:
    void doRegister(const QStringList& actionId) { calls << QStringLiteral("register ") + actionId.value(1); }
    QList<int> setShortcut(const QStringList& actionId, const QList<int>& keys, uint flags)
    {
        calls << QStringLiteral("shortcut %1 %2 %3").arg(actionId.value(1)).arg(keys.value(0)).arg(flags);
        return keys;
    }
    void setInactive(const QStringList& actionId)
    {
        calls << QStringLiteral("inactive ") + actionId.value(1);
    }
};

class KGlobalAccelTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        qDBusRegisterMetaType<QList<int>>();
        if (!m_bus.isConnected())
            GTEST_SKIP() << "no session bus (run under scripts/with-services)";
        ASSERT_TRUE(m_bus.registerService(m_name));
        ASSERT_TRUE(m_bus.registerObject(QStringLiteral("/kglobalaccel"), &m_service,
                                         QDBusConnection::ExportAllSlots));
    }
    void TearDown() override
    {
        m_bus.unregisterService(m_name);
        QDBusConnection::disconnectFromBus(QStringLiteral("kglobalaccel"));
    }

    void emitShortcut(const char* signal, const QString& action)
    {
        QDBusMessage message = QDBusMessage::createSignal(QStringLiteral("/component/quenda"),
                                                          QStringLiteral("org.kde.kglobalaccel.Component"),
                                                          QLatin1String(signal));
        message << QStringLiteral("quenda") << action << qlonglong(0);
        m_bus.send(message);
    }

    const QString m_name = QStringLiteral("org.quenda.test.KGlobalAccel");
    QDBusConnection m_bus = serviceBus(QStringLiteral("kglobalaccel"));
    FakeKGlobalAccel m_service;
    ManualClock m_clock;
};

TEST_F(KGlobalAccelTest, TheModifierAloneIsRegisteredReportedAndGivenBackAtTheStop)
{
    EXPECT_TRUE(KGlobalAccelKeySource::offered(QDBusConnection::sessionBus(), m_name));
    EXPECT_FALSE(KGlobalAccelKeySource::offered(QDBusConnection::sessionBus(),
                                                QStringLiteral("org.quenda.test.None")));

    KGlobalAccelKeySource source(m_clock, QDBusConnection::sessionBus(), m_name);
    Log log;
    source.watch(PhysicalKey::RightControl);
    source.start(log);
    ASSERT_TRUE(QTest::qWaitFor([&] { return m_service.calls.size() == 2; }, kWaitMs));
    // SetPresent | NoAutoloading: the key is set now, whatever was saved before.
    EXPECT_EQ(m_service.calls, QStringList({QStringLiteral("register hold"),
                                            QStringLiteral("shortcut hold %1 6").arg(int(Qt::Key_Control))}));

    emitShortcut("globalShortcutPressed", QStringLiteral("other"));
    emitShortcut("globalShortcutPressed", QStringLiteral("hold"));
    emitShortcut("globalShortcutReleased", QStringLiteral("hold"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return log.text.size() >= 4; }, kWaitMs));
    EXPECT_EQ(log.text, "vC^C");

    // The same service serves another key of the user's choice.
    source.watch(PhysicalKey::RightAlt);
    ASSERT_TRUE(QTest::qWaitFor([&] { return m_service.calls.size() == 3; }, kWaitMs));
    EXPECT_EQ(m_service.calls.last(), QStringLiteral("shortcut hold %1 6").arg(int(Qt::Key_Alt)));
    emitShortcut("globalShortcutPressed", QStringLiteral("hold"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return log.text.size() >= 6; }, kWaitMs));
    EXPECT_EQ(log.text, "vC^CvA");

    source.stop();
    ASSERT_TRUE(QTest::qWaitFor([&] { return m_service.calls.size() == 4; }, kWaitMs));
    EXPECT_EQ(m_service.calls.last(), QStringLiteral("inactive hold"));
    // A source still listening hears the same signals after the stopped one would have.
    KGlobalAccelKeySource witness(m_clock, QDBusConnection::sessionBus(), m_name);
    Log heard;
    witness.start(heard);
    ASSERT_TRUE(QTest::qWaitFor([&] { return m_service.calls.size() == 6; }, kWaitMs));
    emitShortcut("globalShortcutReleased", QStringLiteral("hold"));
    emitShortcut("globalShortcutPressed", QStringLiteral("hold"));
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
class FakePortal final : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.GlobalShortcuts")
    Q_PROPERTY(uint version READ version)

public:
    explicit FakePortal(QDBusConnection& bus)
        : m_bus(bus)
    {
    }

    uint version() const { return 1; }
    QString session;
    QList<PortalShortcut> bound;

public slots:
    QDBusObjectPath CreateSession(const QVariantMap& options)
    {
        session = QStringLiteral("/org/freedesktop/portal/desktop/session/%1/%2")
                      .arg(sender(), options.value(QStringLiteral("session_handle_token")).toString());
        return answer(options, {{QStringLiteral("session_handle"), session}});
    }
    QDBusObjectPath BindShortcuts(const QDBusObjectPath& handle, const QList<PortalShortcut>& shortcuts,
                                  const QString&, const QVariantMap& options)
    {
        if (handle.path() == session)
            bound = shortcuts;
        return answer(options, {});
    }

private:
    QString sender() const
    {
        QString name = message().service().mid(1);
        return name.replace(u'.', u'_');
    }
    // The answer goes out after the reply, as the portal's does.
    QDBusObjectPath answer(const QVariantMap& options, const QVariantMap& results)
    {
        const QString path = QStringLiteral("/org/freedesktop/portal/desktop/request/%1/%2")
                                 .arg(sender(), options.value(QStringLiteral("handle_token")).toString());
        QTimer::singleShot(0, this, [this, path, results] {
            QDBusMessage response = QDBusMessage::createSignal(
                path, QStringLiteral("org.freedesktop.portal.Request"), QStringLiteral("Response"));
            response << 0u << results;
            m_bus.send(response);
        });
        return QDBusObjectPath(path);
    }

    QDBusConnection& m_bus;
};

class PortalTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        qDBusRegisterMetaType<PortalShortcut>();
        qDBusRegisterMetaType<QList<PortalShortcut>>();
        if (!m_bus.isConnected())
            GTEST_SKIP() << "no session bus (run under scripts/with-services)";
        ASSERT_TRUE(m_bus.registerService(m_name));
        ASSERT_TRUE(
            m_bus.registerObject(QStringLiteral("/org/freedesktop/portal/desktop"), &m_portal,
                                 QDBusConnection::ExportAllSlots | QDBusConnection::ExportAllProperties));
    }
    void TearDown() override
    {
        m_bus.unregisterService(m_name);
        QDBusConnection::disconnectFromBus(QStringLiteral("portal"));
    }

    void emitShortcut(const char* signal, const QString& session)
    {
        QDBusMessage message = QDBusMessage::createSignal(
            QStringLiteral("/org/freedesktop/portal/desktop"),
            QStringLiteral("org.freedesktop.portal.GlobalShortcuts"), QLatin1String(signal));
        message << QVariant::fromValue(QDBusObjectPath(session)) << QStringLiteral("hold") << qulonglong(0)
                << QVariantMap();
        m_bus.send(message);
    }

    // The probe waits for its answer, and the fake answers on this thread: the probe asks from another.
    uint versionOf(const QString& service)
    {
        auto probe = std::async(std::launch::async, [service] {
            return PortalKeySource::version(QDBusConnection::sessionBus(), kWaitMs, service);
        });
        (void)QTest::qWaitFor(
            [&] { return probe.wait_for(std::chrono::seconds(0)) == std::future_status::ready; }, kWaitMs);
        return probe.get();
    }

    const QString m_name = QStringLiteral("org.quenda.test.Portal");
    QDBusConnection m_bus = serviceBus(QStringLiteral("portal"));
    FakePortal m_portal{m_bus};
    ManualClock m_clock;
};

TEST_F(PortalTest, TheShortcutIsBoundAndActivationsArePressesWithAHoldLimit)
{
    EXPECT_EQ(versionOf(m_name), 1u);
    EXPECT_EQ(versionOf(QStringLiteral("org.quenda.test.None")), 0u);

    PortalKeySource source(m_clock, QDBusConnection::sessionBus(), m_name);
    Log log;
    source.watch(PhysicalKey::RightAlt);
    source.start(log);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !m_portal.bound.isEmpty(); }, kWaitMs));
    EXPECT_EQ(m_portal.bound.constFirst().id, QStringLiteral("hold"));
    EXPECT_EQ(m_portal.bound.constFirst().properties.value(QStringLiteral("preferred_trigger")).toString(),
              QStringLiteral("Alt_R"));

    // Another program's session is not ours.
    emitShortcut("Activated", m_portal.session + QStringLiteral("x"));
    emitShortcut("Activated", m_portal.session);
    emitShortcut("Deactivated", m_portal.session);
    ASSERT_TRUE(QTest::qWaitFor([&] { return log.text.size() >= 4; }, kWaitMs));
    EXPECT_EQ(log.text, "vA^A");

    // A desktop that sends no Deactivated: the hold ends at the limit.
    emitShortcut("Activated", m_portal.session);
    ASSERT_TRUE(QTest::qWaitFor([&] { return log.text.size() >= 6; }, kWaitMs));
    m_clock.advance(RouteKey::lossyHoldLimitMs - 1);
    EXPECT_EQ(log.text, "vA^AvA");
    m_clock.advance(1);
    EXPECT_EQ(log.text, "vA^AvA^A");
}

} // namespace

#include "desktop_shortcuts_test.moc"
