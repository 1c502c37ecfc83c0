#include "post_chord.h"
#include "service_check.h"
#include "test_text.h"
#include "wayland_peers.h"

#include "core/base/system_clock.h"
#include "platform/linux/gnome/mutter_keyboard.h"
#include "platform/linux/gnome/mutter_pasteboard.h"
#include "platform/linux/gnome/mutter_remote_desktop.h"
#include "platform/linux/keys/chord_synthesizer.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

using namespace WaylandPeers;
using Chord = KeySynthesizer::Chord;
using Key = SyntheticKeyboard::Key;

namespace {

class MutterKeyboardTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        QUENDA_NEEDS_SERVICE(compositorPresent(), "the headless GNOME compositor of scripts/with-services");
        // The session's signals flow from the first turn of the loop on.
        QCoreApplication::processEvents();
    }

    MutterRemoteDesktop m_desktop;
    // Before any window: the seat's keyboard, and with it the focus, comes with the session's.
    MutterKeyboard m_keyboard{m_desktop};
    MutterPasteboard m_board{m_desktop};
    SystemClock m_clock;
    ChordSynthesizer m_keys{m_keyboard, m_clock};
};

TEST_F(MutterKeyboardTest, ThePasteChordPastesIntoTheFocusedFieldAndLeavesNoKeyDown)
{
    struct Case {
        const char* what;
        Field::Toolkit toolkit;
    };
    // clang-format off
    const Case cases[] = {
        {.what = "GTK 3", .toolkit = Field::Toolkit::Gtk},
        {.what = "Qt 6", .toolkit = Field::Toolkit::Qt},
        {.what = "Qt 6 under XWayland", .toolkit = Field::Toolkit::QtXWayland},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Field field(c.toolkit);
        ASSERT_TRUE(field.focused()) << "the field never had the keyboard focus";
        m_board.writeText(s("Grüße, dictated"));

        const auto outcome = postChord(m_keys, Chord::Paste, 10'000);
        ASSERT_TRUE(outcome.ok()) << outcome.error().detail.toStdString();
        EXPECT_EQ(field.waitForText(s("Grüße, dictated")), s("Grüße, dictated"));

        // A v typed now is a letter: Control came up with the chord.
        ASSERT_TRUE(m_keyboard.press(Key::V).ok());
        ASSERT_TRUE(m_keyboard.release(Key::V).ok());
        EXPECT_EQ(field.waitForText(s("Grüße, dictatedv")), s("Grüße, dictatedv"));
    }
}

} // namespace
