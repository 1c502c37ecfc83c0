#include "platform/linux/wayland/xkb_keymap.h"

#include <gtest/gtest.h>
#include <linux/input-event-codes.h>

#include <optional>

namespace {

using Key = SyntheticKeyboard::Key;
constexpr std::optional<uint32_t> none = std::nullopt;

TEST(XkbKeymapTest, ChordKeysAreFoundBySymbolInTheUsersLayout)
{
    struct Case {
        const char* layout;
        const char* variant;
        const char* options;
        std::optional<uint32_t> control, shift, c, v;
    };
    // clang-format off
    const Case cases[] = {
        {.layout = "us", .variant = "", .options = "", .control = KEY_LEFTCTRL, .shift = KEY_LEFTSHIFT, .c = KEY_C, .v = KEY_V},
        {.layout = "de", .variant = "", .options = "", .control = KEY_LEFTCTRL, .shift = KEY_LEFTSHIFT, .c = KEY_C, .v = KEY_V},
        {.layout = "us", .variant = "dvorak", .options = "", .control = KEY_LEFTCTRL, .shift = KEY_LEFTSHIFT, .c = KEY_I, .v = KEY_DOT},
        {.layout = "de", .variant = "neo", .options = "", .control = KEY_LEFTCTRL, .shift = KEY_LEFTSHIFT, .c = KEY_R, .v = KEY_W},
        {.layout = "us", .variant = "", .options = "ctrl:swapcaps", .control = KEY_CAPSLOCK, .shift = KEY_LEFTSHIFT, .c = KEY_C, .v = KEY_V},
        {.layout = "ru,us", .variant = "", .options = "", .control = KEY_LEFTCTRL, .shift = KEY_LEFTSHIFT, .c = KEY_C, .v = KEY_V},
        {.layout = "ru", .variant = "", .options = "", .control = KEY_LEFTCTRL, .shift = KEY_LEFTSHIFT, .c = none, .v = none},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.layout << "(" << c.variant << ") " << c.options);
        const auto compiled =
            XkbKeymap::compile({.layout = c.layout, .variant = c.variant, .options = c.options});
        ASSERT_TRUE(compiled.has_value());
        // Compositors send the map as text: the keys must be where they were.
        const auto sent = XkbKeymap::parse(compiled->text());
        ASSERT_TRUE(sent.has_value());
        for (const XkbKeymap& keymap : {std::cref(*compiled), std::cref(*sent)}) {
            EXPECT_EQ(keymap.find(Key::Control), c.control);
            EXPECT_EQ(keymap.find(Key::Shift), c.shift);
            EXPECT_EQ(keymap.find(Key::C), c.c);
            EXPECT_EQ(keymap.find(Key::V), c.v);
            EXPECT_EQ(keymap.find(Key::Insert), KEY_INSERT);
        }
    }
}

TEST(XkbKeymapTest, ControlAndShiftHaveMasksOfTheirOwn)
{
    const auto keymap = XkbKeymap::compile({.layout = "de"});
    ASSERT_TRUE(keymap.has_value());
    EXPECT_NE(keymap->modifierMask("Control"), 0u);
    EXPECT_NE(keymap->modifierMask("Shift"), 0u);
    EXPECT_NE(keymap->modifierMask("Control"), keymap->modifierMask("Shift"));
    EXPECT_EQ(keymap->modifierMask("NoSuchModifier"), 0u);
}

TEST(XkbKeymapTest, AMapThatDoesNotParseIsNone)
{
    EXPECT_FALSE(XkbKeymap::parse("xkb_keymap { this is no keymap").has_value());
    EXPECT_FALSE(XkbKeymap::compile({.layout = "no-such-layout"}).has_value());
}

} // namespace
