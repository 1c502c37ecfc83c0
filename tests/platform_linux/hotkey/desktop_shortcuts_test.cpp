#include "kwin_process.h"
#include "private_bus.h"
#include "service_check.h"

#include "platform/fake/fake_key_source.h"
#include "platform/fake/manual_clock.h"
#include "platform/linux/hotkey/fallback_key_source.h"
#include "platform/linux/hotkey/kglobalaccel_key_source.h"
#include "platform/linux/hotkey/portal_key_source.h"
#include "platform/linux/portal/portal_version.h"
#include "platform/linux/wayland/kwin_fake_input.h"
#include "platform/linux/wayland/wayland_connection.h"

#include <QDBusConnection>
#include <QDBusError>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QTest>

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <optional>
#include <string>

namespace {

constexpr int kWaitMs = 5000;

class Log final : public KeySource::Listener {
public:
    std::string text;

    void keyPressed(PhysicalKey key) override { text += key == PhysicalKey::RightAlt ? "vA" : "vC"; }
    void keyReleased(PhysicalKey key) override { text += key == PhysicalKey::RightAlt ? "^A" : "^C"; }
};

using R = HotkeyRoute;

// A fake route that forgets the test's pointer to it when it is dropped.
struct NextRoute final : KeySource {
    explicit NextRoute(FakeKeySource*& pointer)
        : seen(pointer)
    {
        seen = &fake;
    }
    ~NextRoute() override { seen = nullptr; }
    Reach start(Listener& listener) override { return fake.start(listener); }
    void stop() override { fake.stop(); }
    void watch(PhysicalKey key) override { fake.watch(key); }

    FakeKeySource fake;
    FakeKeySource*& seen;
};

// The route under test first, then fake sources for the bindings and the own windows; started on
// right Alt.
struct HandOver {
    HandOver(R first, Clock& clock, const QDBusConnection& client)
        : source({.order = {first, R::CommandLine, R::OwnWindows}},
                 [this, &clock, client](R route) -> std::unique_ptr<KeySource> {
                     if (route == R::Portal)
                         return std::make_unique<PortalKeySource>(clock, client);
                     if (route == R::KGlobalAccel)
                         return std::make_unique<KGlobalAccelKeySource>(clock, client);
                     return std::make_unique<NextRoute>(next);
                 })
    {
        QObject::connect(&source, &FallbackKeySource::statusChanged, &source, [this] { ++changes; });
        source.watch(PhysicalKey::RightAlt);
        source.start(log);
    }

    // The next route took over, for the same listener and key, and said so once, however often the
    // failed one reported its failure.
    void expectHandedOver(R failed)
    {
        ASSERT_TRUE(QTest::qWaitFor([&] { return changes > 0; }, kWaitMs));
        EXPECT_EQ(source.status(), (HotkeyRouteStatus{.route = R::CommandLine, .failed = {failed}}));
        EXPECT_EQ(changes, 1);
        ASSERT_NE(next, nullptr);
        EXPECT_EQ(next->watched(), PhysicalKey::RightAlt);
        next->press(PhysicalKey::RightAlt);
        EXPECT_EQ(log.text, "vA");
    }
    // The first route reported a press and, its answers all heard, still runs.
    void expectKept(R first)
    {
        ASSERT_TRUE(QTest::qWaitFor([&] { return log.text == "vA"; }, kWaitMs)) << log.text;
        QCoreApplication::processEvents();
        EXPECT_EQ(source.status(), HotkeyRouteStatus{.route = first});
        EXPECT_EQ(changes, 0);
    }

    FakeKeySource* next = nullptr;
    Log log;
    int changes = 0;
    FallbackKeySource source;
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

    std::atomic<bool> refuses = false;

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
        if (refuses) {
            reply = message.createErrorReply(QDBusError::AccessDenied, QStringLiteral("refused"));
        } else if (message.member() == QLatin1String("doRegister")) {
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

TEST_F(KGlobalAccelTest, ARefusedRegistrationHandsTheHotkeyToTheNextRoute)
{
    for (const bool refuses : {true, false}) {
        m_service.refuses = refuses;
        HandOver run(R::KGlobalAccel, m_clock, m_client);
        if (refuses) {
            run.expectHandedOver(R::KGlobalAccel);
            continue;
        }
        ASSERT_TRUE(QTest::qWaitFor([&] { return m_service.calls().size() >= 2; }, kWaitMs));
        m_service.emitShortcut("globalShortcutPressed", QStringLiteral("hold"));
        run.expectKept(R::KGlobalAccel);
    }
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
    // How the portal answers the next requests: the responses of the session and the binding, or
    // an error for every call.
    struct Answers {
        std::optional<uint> session = 0; // none: the session's request is never answered
        uint bind = 0;
        bool refuse = false;
    };
    void answerWith(const Answers& answers)
    {
        const QMutexLocker lock(&m_mutex);
        m_answers = answers;
        m_bound.clear();
        m_session.clear();
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
            const bool shortcuts =
                args.value(0).toString() == QLatin1String("org.freedesktop.portal.GlobalShortcuts");
            connection.send(shortcuts
                                ? message.createReply(QVariant::fromValue(QDBusVariant(1u)))
                                : message.createErrorReply(QDBusError::InvalidArgs, QStringLiteral("none")));
        } else if (m_answers.refuse) {
            connection.send(message.createErrorReply(QDBusError::AccessDenied, QStringLiteral("refused")));
        } else if (message.member() == QLatin1String("CreateSession")) {
            QString sender = message.service().mid(1).replace(u'.', u'_');
            m_session = QStringLiteral("/org/freedesktop/portal/desktop/session/%1/%2")
                            .arg(sender, qdbus_cast<QVariantMap>(args.value(0))
                                             .value(QStringLiteral("session_handle_token"))
                                             .toString());
            answerRequest(
                message, connection, m_answers.session,
                {{QStringLiteral("session_handle"), m_answers.session == 0u ? m_session : QString()}});
        } else {
            if (args.value(0).value<QDBusObjectPath>().path() == m_session)
                m_bound = qdbus_cast<QList<PortalShortcut>>(args.value(1));
            answerRequest(message, connection, m_answers.bind);
        }
    }

    mutable QMutex m_mutex;
    QString m_session;
    QList<PortalShortcut> m_bound;
    Answers m_answers;
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
    // One question for both interfaces; the one the portal lacks is 0.
    const QStringList interfaces{QStringLiteral("org.freedesktop.portal.RemoteDesktop"),
                                 QStringLiteral("org.freedesktop.portal.GlobalShortcuts")};
    EXPECT_EQ(DesktopPortal::versions(m_client, interfaces, kWaitMs), QList<uint>({0, 1}));
    EXPECT_EQ(DesktopPortal::versions(m_client, interfaces, kWaitMs, QStringLiteral("org.quenda.test.None")),
              QList<uint>({0, 0}));

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

// A portal that offers the shortcuts but makes none (GNOME 43, or sway with KDE's portal), or never says,
// leaves the hotkey to the next route.
TEST_F(PortalTest, APortalThatMakesNoShortcutHandsTheHotkeyToTheNextRoute)
{
    // clang-format off
    const struct { const char* what; FakePortal::Answers answers; bool handsOver; } rows[] = {
        {"no session",       {.session = 2},   true},
        {"silence",          {.session = {}},  true},
        {"refused calls",    {.refuse = true}, true},
        {"no binding",       {.bind = 1},      true},
        {"a bound shortcut", {},               false},
    };
    // clang-format on
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        m_portal.answerWith(row.answers);
        HandOver run(R::Portal, m_clock, m_client);
        // Held on the next route before the portal can answer.
        if (!row.handsOver)
            run.next->press(PhysicalKey::RightAlt);
        if (!row.answers.session) {
            ASSERT_TRUE(QTest::qWaitFor([&] { return !m_portal.session().isEmpty(); }, kWaitMs));
            m_clock.advance(PortalKeySource::sessionWaitMs - 1);
            QCoreApplication::processEvents();
            EXPECT_EQ(run.changes, 0);
            // The next route hears the key while the portal keeps us waiting.
            ASSERT_NE(run.next, nullptr);
            run.next->tap(PhysicalKey::RightAlt);
            EXPECT_EQ(run.log.text, "vA^A");
            run.log.text.clear();
            m_clock.advance(1);
        }
        if (row.handsOver) {
            run.expectHandedOver(R::Portal);
            continue;
        }
        ASSERT_TRUE(QTest::qWaitFor([&] { return !m_portal.bound().isEmpty(); }, kWaitMs));
        m_clock.advance(PortalKeySource::sessionWaitMs);
        m_portal.emitShortcut("Activated", m_portal.session());
        ASSERT_TRUE(QTest::qWaitFor([&] { return run.log.text == "vAvA"; }, kWaitMs)) << run.log.text;
        // Bound, the portal reports alone, once the key held on the next route is up there: no press is
        // heard twice, and no hold waits for a release that would never come.
        ASSERT_NE(run.next, nullptr);
        run.next->release(PhysicalKey::RightAlt);
        ASSERT_TRUE(QTest::qWaitFor([&] { return run.next == nullptr; }, kWaitMs));
        EXPECT_EQ(run.log.text, "vAvA^A");
        EXPECT_EQ(run.source.status(), HotkeyRouteStatus{.route = R::Portal});
        EXPECT_EQ(run.changes, 0);
    }
}

} // namespace
