#include "post_chord.h"
#include "test_text.h"
#include "wayland_peers.h"

#include "core/base/system_clock.h"
#include "platform/linux/keys/chord_synthesizer.h"
#include "platform/linux/wayland/user_keymap.h"
#include "platform/linux/wayland/virtual_keyboard.h"
#include "platform/linux/wayland/wayland_connection.h"
#include "service_check.h"

#include <gtest/gtest.h>
#include <linux/input-event-codes.h>

#include <optional>

using namespace WaylandPeers;

namespace {

using Toolkit = Field::Toolkit;
using Chord = KeySynthesizer::Chord;
using Reason = KeySynthesizer::Failure::Reason;

constexpr int pasteMs = 5000;

// Sets XKB_DEFAULT_* for the keyboard made in its lifetime, the way a session's settings do.
class DefaultLayout final {
public:
    DefaultLayout(const QByteArray& layout, const QByteArray& variant)
    {
        set("XKB_DEFAULT_LAYOUT", layout);
        set("XKB_DEFAULT_VARIANT", variant);
    }
    ~DefaultLayout()
    {
        for (const auto& [name, value] : m_was)
            value.isNull() ? qunsetenv(name) : qputenv(name, value);
    }

private:
    void set(const char* name, const QByteArray& value)
    {
        m_was.emplace_back(name, qgetenv(name));
        value.isEmpty() ? qunsetenv(name) : qputenv(name, value);
    }
    std::vector<std::pair<const char*, QByteArray>> m_was;
};

TEST(VirtualKeyboardTest, CtrlVPastesTheClipboardIntoGtkAndQtFieldsWhateverTheLayout)
{
    struct Case {
        Toolkit toolkit;
        const char* layout;
        const char* variant;
    };
    // clang-format off
    const Case cases[] = {
        {.toolkit = Toolkit::Gtk, .layout = "", .variant = ""},
        {.toolkit = Toolkit::Qt, .layout = "", .variant = ""},
        {.toolkit = Toolkit::Gtk, .layout = "de", .variant = ""},
        {.toolkit = Toolkit::Gtk, .layout = "us", .variant = "dvorak"},
        {.toolkit = Toolkit::Qt, .layout = "ru,us", .variant = ""},
        {.toolkit = Toolkit::Gtk, .layout = "ru,us", .variant = ""},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << (c.toolkit == Toolkit::Gtk ? "GTK" : "Qt") << " " << c.layout
                                        << "(" << c.variant << ")");
        WaylandConnection connection(swayDisplay());
        QUENDA_NEEDS_SERVICE(connection.connected(),
                             "a Wayland compositor (scripts/with-services starts sway)");
        // Made before the field: the headless seat has no other keyboard to focus it with.
        const DefaultLayout layout(c.layout, c.variant);
        VirtualKeyboard keyboard(connection);
        ASSERT_EQ(keyboard.unavailable(), QString());
        SystemClock clock;
        ChordSynthesizer synth(keyboard, clock);

        const QString text = s("pasted on Wayland: über 5 €");
        const WlCopy copied({}, text.toUtf8(), swayDisplay());
        ASSERT_TRUE(copied.offered());
        Field field(c.toolkit, swayDisplay());
        ASSERT_TRUE(field.focused());

        const auto outcome = postChord(synth, Chord::Paste, pasteMs);
        ASSERT_TRUE(outcome.ok()) << outcome.error().detail.toStdString();
        EXPECT_EQ(field.waitForText(text).toStdString(), text.toStdString());
    }
}

// The compositor reads the modifiers from the state we send, not from the keys: a Shift missing
// there turns the terminal paste into Ctrl+V, a Control left there makes every later v a paste.
TEST(VirtualKeyboardTest, TheModifierStateSentFollowsTheModifierKeys)
{
    using Key = SyntheticKeyboard::Key;
    struct Case {
        const char* what;
        Key modifier; // held around a v
        const char* shown;
        const char* thenV; // shown after one more v
    };
    // clang-format off
    const Case cases[] = {
        {.what = "Shift types a capital", .modifier = Key::Shift, .shown = "V", .thenV = "Vv"},
        {.what = "Control pastes", .modifier = Key::Control, .shown = "clip", .thenV = "clipv"},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        WaylandConnection connection(swayDisplay());
        QUENDA_NEEDS_SERVICE(connection.connected(),
                             "a Wayland compositor (scripts/with-services starts sway)");
        VirtualKeyboard keyboard(connection);
        ASSERT_EQ(keyboard.unavailable(), QString());
        const WlCopy copied({}, "clip", swayDisplay());
        ASSERT_TRUE(copied.offered());
        Field field(Toolkit::Gtk, swayDisplay());
        ASSERT_TRUE(field.focused());
        for (const auto& done : {keyboard.press(c.modifier), keyboard.press(Key::V), keyboard.release(Key::V),
                                 keyboard.release(c.modifier)})
            ASSERT_TRUE(done.ok());
        EXPECT_EQ(field.waitForText(s(c.shown)), s(c.shown));
        ASSERT_TRUE(keyboard.press(Key::V).ok() && keyboard.release(Key::V).ok());
        EXPECT_EQ(field.waitForText(s(c.thenV)), s(c.thenV)) << "the modifier stayed down";
    }
}

TEST(VirtualKeyboardTest, WhileTheSeatHasAKeyboardItsMapIsTheUsersWhateverTheDefaults)
{
    WaylandConnection first(swayDisplay());
    QUENDA_NEEDS_SERVICE(first.connected(), "a Wayland compositor (scripts/with-services starts sway)");
    std::optional<DefaultLayout> dvorak(std::in_place, "us", "dvorak");
    VirtualKeyboard typing(first);
    dvorak.reset();
    // A key makes it the seat's keyboard, whose map the compositor hands every client.
    ASSERT_TRUE(typing.press(SyntheticKeyboard::Key::Shift).ok());
    ASSERT_TRUE(typing.release(SyntheticKeyboard::Key::Shift).ok());
    ASSERT_TRUE(first.roundtrip(WaylandConnection::connectTimeoutMs));

    const DefaultLayout us("us", "");
    WaylandConnection second(swayDisplay());
    const auto keymap = userKeymap(second);
    ASSERT_TRUE(keymap.has_value());
    EXPECT_EQ(keymap->find(SyntheticKeyboard::Key::V), KEY_DOT);
}

TEST(VirtualKeyboardTest, WithoutAVirtualKeyboardEveryKeyFailsAsUnavailable)
{
    struct Case {
        const char* name;
        QByteArray display;
    };
    // clang-format off
    const Case cases[] = {
        {.name = "no compositor", .display = "quenda-no-compositor-here"},
        {.name = "mutter offers none", .display = qgetenv("QUENDA_MUTTER_WAYLAND_DISPLAY")},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.display.isEmpty()) {
            QUENDA_NEEDS_SERVICE(false, "headless mutter (scripts/with-services starts it)");
            continue;
        }
        WaylandConnection connection(c.display);
        VirtualKeyboard keyboard(connection);
        EXPECT_NE(keyboard.unavailable(), QString());
        ASSERT_FALSE(keyboard.state().ok());
        EXPECT_EQ(keyboard.state().error().reason, Reason::Unavailable);
        ASSERT_FALSE(keyboard.press(SyntheticKeyboard::Key::Control).ok());
        EXPECT_EQ(keyboard.press(SyntheticKeyboard::Key::Control).error().reason, Reason::Unavailable);
    }
}

} // namespace
