#pragma once

#include "platform/linux/keys/synthetic_keyboard.h"

// The X keysym of each chord key: keyboards find the key for it in the user's layout.
inline quint32 chordKeysym(SyntheticKeyboard::Key key)
{
    switch (key) {
    case SyntheticKeyboard::Key::Control:
        return 0xffe3; // Control_L
    case SyntheticKeyboard::Key::Shift:
        return 0xffe1; // Shift_L
    case SyntheticKeyboard::Key::C:
        return 0x63;
    case SyntheticKeyboard::Key::V:
        return 0x76;
    case SyntheticKeyboard::Key::Insert:
        return 0xff63;
    }
    return 0;
}
