#include "fake_mutter.h"
#include "post_chord.h"
#include "private_bus.h"
#include "test_text.h"
#include "wayland_peers.h"

#include "platform/linux/gnome/mutter_keyboard.h"
#include "platform/linux/gnome/mutter_pasteboard.h"
#include "platform/linux/gnome/mutter_remote_desktop.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>

#include <gtest/gtest.h>

using Reason = KeySynthesizer::Failure::Reason;

namespace {

TEST(MutterRemoteDesktopUnavailable, EveryUserSeesWhyWhenTheSessionCannotBeHad)
{
    struct Case {
        const char* what;
        bool bus;
        std::optional<FakeMutter::Refusals> fake;
        const char* reason;
    };
    // clang-format off
    const Case cases[] = {
        {.what = "no session bus", .bus = false, .fake = std::nullopt, .reason = "no session bus"},
        {.what = "no compositor service", .bus = true, .fake = std::nullopt, .reason = "org.gnome.Mutter.RemoteDesktop is not on the session bus"},
        {.what = "session refused", .bus = true, .fake = FakeMutter::Refusals{.create = s("remote desktop disabled")}, .reason = "refused a remote-desktop session: remote desktop disabled"},
        {.what = "start refused", .bus = true, .fake = FakeMutter::Refusals{.start = s("no seat")}, .reason = "did not start the remote-desktop session: no seat"},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const PrivateBus bus;
        std::optional<FakeMutter> fake;
        if (c.fake)
            fake.emplace(bus, *c.fake);
        const QString name = QStringLiteral("client-") + QString::fromUtf8(c.what);
        MutterRemoteDesktop desktop(c.bus ? bus.connect(name)
                                          : QDBusConnection::connectToBus(s("unix:path=/nonexistent"), name));
        MutterKeyboard keyboard(desktop);
        MutterPasteboard board(desktop);
        const std::optional<KeySynthesizer::Outcome> outcome = pasteAtOnce(keyboard);
        ASSERT_TRUE(outcome && !outcome->ok());
        EXPECT_EQ(outcome->error().reason, Reason::Unavailable);
        EXPECT_TRUE(outcome->error().detail.contains(s(c.reason))) << outcome->error().detail.toStdString();
        EXPECT_TRUE(board.unavailableReason().contains(s(c.reason)))
            << board.unavailableReason().toStdString();
        EXPECT_TRUE(board.types().isEmpty());
        const QStringList calls = fake ? fake->members() : QStringList();
        EXPECT_EQ(calls.contains(s("Start")), c.fake && c.fake->create.isEmpty());
        EXPECT_EQ(calls.contains(s("Stop")), c.fake && !c.fake->start.isEmpty())
            << "a session that did not start must not be left behind";
    }
}

TEST(MutterRemoteDesktopUnavailable, ASessionTheDesktopClosedIsReplacedOnNextUseWithAKeyboardOfItsOwn)
{
    const PrivateBus bus;
    FakeMutter fake(bus, {});
    MutterRemoteDesktop desktop(bus.connect(s("client")));
    MutterKeyboard keyboard(desktop);
    // The keyboard made at the start: a lone Control tap, before any chord.
    const BusCall control{s("NotifyKeyboardKeysym"), {65507}};
    const BusCall v{s("NotifyKeyboardKeysym"), {118}};
    const QList<BusCall> made{{s("CreateSession")}, {s("Start")}, control, control};
    // Once per session: a Control tap before each chord would show GNOME's pointer locator.
    const QList<BusCall> paste{control, v, v, control};
    ASSERT_TRUE(pasteAtOnce(keyboard).ok());
    ASSERT_TRUE(pasteAtOnce(keyboard).ok());
    EXPECT_EQ(fake.calls(), made + paste + paste);

    bool closed = false;
    QObject::connect(&desktop, &MutterRemoteDesktop::closed, &desktop, [&] { closed = true; });
    fake.closeSession();
    ASSERT_TRUE(WaylandPeers::waitFor([&] { return closed; }));
    EXPECT_TRUE(keyboard.state().ok());
    EXPECT_EQ(desktop.generation(), 2u);
    EXPECT_EQ(fake.calls().mid(made.size() + 2 * paste.size()), made)
        << "the new session's keyboard was not made first";
}

} // namespace
