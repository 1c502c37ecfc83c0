#include "post_chord.h"
#include "private_bus.h"
#include "test_text.h"
#include "wayland_peers.h"

#include "platform/linux/portal/portal_keyboard.h"
#include "platform/linux/portal/portal_version.h"

#include <QDBusArgument>
#include <QDBusObjectPath>
#include <QDBusVariant>

#include <gtest/gtest.h>

using Phase = PortalKeyboard::Phase;
using Reason = KeySynthesizer::Failure::Reason;

namespace {

const QString sessionPath = s("/org/freedesktop/portal/desktop/session/1_1/quenda1");

// A key the portal was asked to post: its keysym, and 1 going down or 0 going up.
BusCall key(int keysym, uint state)
{
    return {s("NotifyKeyboardKeysym"), {keysym, state}};
}

// The desktop portal, with the user's answer to its dialog scripted: Start answers with `start`
// (0 approved, 1 declined) and grants `devices`, or stays open when `answersStart` is false.
class FakePortal final : public FakeService {
public:
    struct Dialog {
        bool answersStart = true;
        uint start = 0;
        uint devices = 1;
    };

    FakePortal(const PrivateBus& bus, Dialog dialog, Start start = Start::Running)
        : FakeService(bus, s("org.freedesktop.portal.Desktop"), s("/org/freedesktop/portal/desktop"), start)
        , m_dialog(dialog)
    {
    }
    ~FakePortal() override { stop(); }
    Q_DISABLE_COPY_MOVE(FakePortal)

    void closeSession()
    {
        send(QDBusMessage::createSignal(sessionPath, s("org.freedesktop.portal.Session"), s("Closed")));
    }

private:
    void answer(const QDBusMessage& message, const QDBusConnection& connection) override
    {
        const QString& member = message.member();
        const QVariantList args = message.arguments();
        if (member == QLatin1String("NotifyKeyboardKeysym")) {
            record({member, args.mid(2)}); // the key and whether it goes down
            connection.send(message.createReply());
            return;
        }
        record({member});
        if (member == QLatin1String("Get"))
            connection.send(message.createReply(QVariant::fromValue(QDBusVariant(version))));
        else if (member == QLatin1String("CreateSession"))
            answerRequest(message, connection, 0, {{s("session_handle"), sessionPath}});
        else if (member != QLatin1String("Start"))
            answerRequest(message, connection, 0);
        else if (m_dialog.answersStart)
            answerRequest(message, connection, m_dialog.start, {{s("devices"), m_dialog.devices}});
        else
            answerRequest(message, connection, std::nullopt);
    }

    static constexpr uint version = 1;
    const Dialog m_dialog;
};

TEST(PortalKeyboard, ChordsGoOutOnlyOnceTheUserApprovedTheKeyboard)
{
    struct Case {
        const char* what;
        std::optional<FakePortal::Dialog> dialog;
        Phase phase;
        const char* reason;
    };
    // clang-format off
    const Case cases[] = {
        {.what = "approved", .dialog = FakePortal::Dialog{}, .phase = Phase::Ready, .reason = ""},
        {.what = "dialog still open", .dialog = FakePortal::Dialog{.answersStart = false}, .phase = Phase::Requesting, .reason = "approve the remote-desktop request"},
        {.what = "declined", .dialog = FakePortal::Dialog{.start = 1}, .phase = Phase::Failed, .reason = "was declined"},
        {.what = "approved without the keyboard", .dialog = FakePortal::Dialog{.devices = 2}, .phase = Phase::Failed, .reason = "without the keyboard"},
        {.what = "no portal", .dialog = std::nullopt, .phase = Phase::Failed, .reason = "has no portal"},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        // Starts nothing: a portal installed on this machine would answer in place of none.
        const PrivateBus bus(QStringList{});
        std::optional<FakePortal> portal;
        if (c.dialog)
            portal.emplace(bus, *c.dialog);
        PortalKeyboard keyboard(bus.connect(s("client")));
        // The open dialog is known by the request for it: its answer would come at once.
        const bool dialogOpen = c.dialog && !c.dialog->answersStart;
        ASSERT_TRUE(WaylandPeers::waitFor([&] {
            return dialogOpen ? portal->members().contains(s("Start"))
                              : keyboard.phase() != Phase::Requesting;
        }));
        EXPECT_EQ(keyboard.phase(), c.phase);
        EXPECT_TRUE(keyboard.reason().contains(s(c.reason))) << keyboard.reason().toStdString();

        const std::optional<KeySynthesizer::Outcome> outcome = pasteAtOnce(keyboard);
        ASSERT_TRUE(outcome);
        EXPECT_EQ(outcome->ok(), c.phase == Phase::Ready);
        const QList<BusCall> keysPosted =
            portal ? portal->calls(s("NotifyKeyboardKeysym")) : QList<BusCall>();
        if (outcome->ok()) {
            EXPECT_EQ(keysPosted, (QList<BusCall>{key(65507, 1), key(118, 1), key(118, 0), key(65507, 0)}));
        } else {
            EXPECT_EQ(outcome->error().reason, Reason::Unavailable);
            EXPECT_EQ(keysPosted, QList<BusCall>()) << "a key went out before the user approved";
        }
    }
}

// A desktop starts its portal with the first call to it: before that only the bus knows it.
TEST(PortalKeyboard, APortalTheBusStartsOnDemandIsAskedAsOneRunningIs)
{
    using Start = FakeService::Start;
    const QString remoteDesktop = s("org.freedesktop.portal.RemoteDesktop");
    // clang-format off
    const struct { const char* what; Start start; } rows[] = {
        {"running", Start::Running},
        {"started on demand", Start::OnDemand},
    };
    // clang-format on
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        {
            const PrivateBus bus({s("org.freedesktop.portal.Desktop")});
            FakePortal portal(bus, {}, row.start);
            EXPECT_EQ(DesktopPortal::versions(bus.connect(s("client")), {remoteDesktop}, 5000),
                      QList<uint>{1});
        }
        const PrivateBus bus({s("org.freedesktop.portal.Desktop")});
        FakePortal portal(bus, {}, row.start);
        PortalKeyboard keyboard(bus.connect(s("client")));
        ASSERT_TRUE(WaylandPeers::waitFor([&] { return keyboard.phase() != Phase::Requesting; }));
        EXPECT_EQ(keyboard.phase(), Phase::Ready) << keyboard.reason().toStdString();
    }
}

TEST(PortalKeyboard, ASessionTheDesktopEndedRefusesChordsWithTheReason)
{
    const PrivateBus bus;
    FakePortal portal(bus, {});
    PortalKeyboard keyboard(bus.connect(s("client")));
    ASSERT_TRUE(WaylandPeers::waitFor([&] { return keyboard.phase() == Phase::Ready; }));
    EXPECT_EQ(portal.members(), (QStringList{s("CreateSession"), s("SelectDevices"), s("Start")}));

    portal.closeSession();
    ASSERT_TRUE(WaylandPeers::waitFor([&] { return keyboard.phase() == Phase::Failed; }));
    EXPECT_EQ(keyboard.state().error().detail, s("the desktop ended the remote-desktop session"));
}

} // namespace
