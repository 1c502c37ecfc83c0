#include "kwin_process.h"
#include "test_text.h"
#include "wayland_peers.h"

#include "platform/linux/wayland/kwin_fake_input.h"
#include "platform/linux/wayland/wayland_connection.h"
#include "service_check.h"

#include <QLocalServer>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>
#include <wayland-client.h>

namespace {

class WaylandConnectionTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        QUENDA_NEEDS_SERVICE(m_connection.connected(),
                             "a Wayland compositor (scripts/with-services starts sway)");
    }

    WaylandConnection m_connection{WaylandPeers::swayDisplay()};
};

TEST_F(WaylandConnectionTest, ListsTheGlobalsAndBindsTheSeatOnce)
{
    EXPECT_TRUE(m_connection.offers("wl_seat"));
    EXPECT_TRUE(m_connection.offers("zwp_virtual_keyboard_manager_v1"));
    EXPECT_FALSE(m_connection.offers("wl_sea"));
    ASSERT_NE(m_connection.seat(), nullptr);
    EXPECT_EQ(m_connection.seat(), m_connection.seat());
}

TEST_F(WaylandConnectionTest, EventsArriveThroughTheQtEventLoop)
{
    static const wl_callback_listener listener = {
        .done = [](void* data, wl_callback*, uint32_t) { *static_cast<bool*>(data) = true; },
    };
    bool answered = false;
    wl_callback* callback = wl_display_sync(m_connection.display());
    wl_callback_add_listener(callback, &listener, &answered);
    ASSERT_TRUE(m_connection.flush());
    EXPECT_TRUE(QTest::qWaitFor([&] { return answered; }, 2000));
    wl_callback_destroy(callback);
}

TEST_F(WaylandConnectionTest, AnAnswerThatNeverComesEndsTheWaitAtItsBound)
{
    EXPECT_FALSE(m_connection.dispatchUntil([] { return false; }, 30));
    EXPECT_TRUE(m_connection.connected());
    EXPECT_TRUE(m_connection.roundtrip(WaylandConnection::connectTimeoutMs));
}

TEST_F(WaylandConnectionTest, AProtocolErrorIsReportedOnceAsTheConnectionLost)
{
    QSignalSpy lost(&m_connection, &WaylandConnection::lost);
    // A second registry of our own binding a global that does not exist: the compositor ends the
    // connection.
    wl_registry* registry = wl_display_get_registry(m_connection.display());
    wl_registry_bind(registry, 0xfffffff0, &wl_seat_interface, 1);
    EXPECT_FALSE(m_connection.roundtrip(WaylandConnection::connectTimeoutMs));
    wl_registry_destroy(registry);

    ASSERT_EQ(lost.size(), 1);
    EXPECT_TRUE(lost.first().first().toString().contains(s("wl_registry")))
        << lost.first().first().toString().toStdString();
    EXPECT_FALSE(m_connection.connected());
    EXPECT_FALSE(m_connection.flush());
    EXPECT_EQ(m_connection.bind(&wl_seat_interface, 1), nullptr);
    EXPECT_EQ(lost.size(), 1);
}

TEST(WaylandConnectionToKwin, ACompositorGoneIsReportedOnceThroughTheEventLoopAndKeysFailAsUnavailable)
{
    KwinProcess kwin;
    QUENDA_NEEDS_SERVICE(!kwin.waylandDisplay().isEmpty(), "a headless KWin (Debian's kwin-wayland)");
    ASSERT_TRUE(kwin.installProgramEntry());
    WaylandConnection connection(kwin.waylandDisplay());
    KwinFakeInput keyboard(connection, s("Quenda"));
    ASSERT_EQ(keyboard.unavailable().toStdString(), "");
    QSignalSpy lost(&connection, &WaylandConnection::lost);

    kwin.stop();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !lost.isEmpty(); }, 5000));
    EXPECT_FALSE(connection.connected());
    EXPECT_FALSE(connection.roundtrip(WaylandConnection::connectTimeoutMs));
    const auto pressed = keyboard.press(SyntheticKeyboard::Key::Control);
    ASSERT_FALSE(pressed.ok());
    EXPECT_EQ(pressed.error().reason, KeySynthesizer::Failure::Reason::Unavailable);
    EXPECT_EQ(pressed.error().detail, connection.failure());
    EXPECT_EQ(lost.size(), 1);
}

TEST(WaylandConnectionWithoutCompositor, NothingIsBoundAndNothingWaits)
{
    WaylandConnection connection("quenda-no-compositor-here");
    EXPECT_FALSE(connection.connected());
    EXPECT_FALSE(connection.failure().isEmpty());
    EXPECT_FALSE(connection.offers("wl_seat"));
    EXPECT_EQ(connection.seat(), nullptr);
    EXPECT_FALSE(connection.dispatchUntil([] { return false; }, 60000));
}

TEST(WaylandConnectionWithoutCompositor, NoDisplayNamedMeansNoConnectionNotTheDefaultSocket)
{
    // libwayland would try "wayland-0" in the runtime folder: in an X11 session that is someone
    // else's compositor, or none.
    QTemporaryDir runtime;
    QLocalServer wayland0;
    ASSERT_TRUE(wayland0.listen(runtime.filePath(s("wayland-0"))));
    const QByteArray runtimeWas = qgetenv("XDG_RUNTIME_DIR");
    const QByteArray displayWas = qgetenv("WAYLAND_DISPLAY");
    qputenv("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit());
    qunsetenv("WAYLAND_DISPLAY");

    WaylandConnection connection;
    QCoreApplication::processEvents();

    qputenv("XDG_RUNTIME_DIR", runtimeWas);
    if (!displayWas.isEmpty())
        qputenv("WAYLAND_DISPLAY", displayWas);
    EXPECT_FALSE(connection.connected());
    EXPECT_EQ(connection.display(), nullptr);
    EXPECT_FALSE(wayland0.hasPendingConnections());
}

} // namespace
