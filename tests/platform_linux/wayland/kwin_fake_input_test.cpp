#include "kwin_process.h"
#include "post_chord.h"
#include "test_text.h"
#include "wayland_peers.h"

#include "core/base/system_clock.h"
#include "platform/linux/keys/chord_synthesizer.h"
#include "platform/linux/wayland/kwin_fake_input.h"
#include "platform/linux/wayland/wayland_connection.h"
#include "service_check.h"

#include <gtest/gtest.h>

using namespace WaylandPeers;

namespace {

using Reason = KeySynthesizer::Failure::Reason;

constexpr int pasteMs = 5000;

TEST(KwinFakeInputTest, TheInstalledDesktopEntryGetsFakeInputFromKWinAndCtrlVPastes)
{
    KwinProcess kwin;
    QUENDA_NEEDS_SERVICE(!kwin.waylandDisplay().isEmpty(), "a headless KWin (Debian's kwin-wayland)");
    ASSERT_TRUE(kwin.installProgramEntry());
    WaylandConnection connection(kwin.waylandDisplay());
    KwinFakeInput keyboard(connection, s("Quenda"));
    ASSERT_EQ(keyboard.unavailable().toStdString(), "");
    SystemClock clock;
    ChordSynthesizer synth(keyboard, clock);

    const QString text = s("pasted on KWin: über 5 €");
    const WlCopy copied({}, text.toUtf8(), kwin.waylandDisplay());
    ASSERT_TRUE(copied.offered());
    Field field(Field::Toolkit::Gtk, kwin.waylandDisplay());
    ASSERT_TRUE(field.focused());

    const auto outcome = postChord(synth, KeySynthesizer::Chord::Paste, pasteMs);
    ASSERT_TRUE(outcome.ok()) << outcome.error().detail.toStdString();
    EXPECT_EQ(field.waitForText(text).toStdString(), text.toStdString());
}

TEST(KwinFakeInputTest, WithoutTheDesktopEntryKWinOffersNothingAndKeysFailAsUnavailable)
{
    KwinProcess kwin;
    QUENDA_NEEDS_SERVICE(!kwin.waylandDisplay().isEmpty(), "a headless KWin (Debian's kwin-wayland)");
    WaylandConnection connection(kwin.waylandDisplay());
    ASSERT_TRUE(connection.connected());
    KwinFakeInput keyboard(connection, s("Quenda"));
    EXPECT_NE(keyboard.unavailable(), QString());
    const auto pressed = keyboard.press(SyntheticKeyboard::Key::Control);
    ASSERT_FALSE(pressed.ok());
    EXPECT_EQ(pressed.error().reason, Reason::Unavailable);
}

} // namespace
