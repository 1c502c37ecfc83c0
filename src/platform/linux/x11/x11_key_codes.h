#pragma once

#include "platform/key_source.h"

#include <array>
#include <bitset>
#include <optional>

struct _XDisplay;

// Which X keycodes are the five named keys and which are modifiers, for telling keys apart.
class X11KeyCodes final {
public:
    // The codes of the evdev keymap every current X server and Wayland compositor uses.
    static X11KeyCodes standard();
    // The named keys as the display's keymap places them and its modifier map; a keysym the
    // keymap lacks keeps its standard code.
    static X11KeyCodes lookUp(_XDisplay* display);

    // One of the five named keys, or nothing.
    std::optional<PhysicalKey> named(unsigned keycode) const;
    // Named key, else a key of the modifier map, else any other key.
    PhysicalKey classify(unsigned keycode) const;

private:
    static constexpr std::size_t namedCount = 5;

    std::array<unsigned, namedCount> m_named{};
    std::bitset<256> m_modifiers;
};
