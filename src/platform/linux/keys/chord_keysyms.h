#pragma once

#include "platform/linux/keys/synthetic_keyboard.h"

// The X keysym of each chord key, for keyboards that are handed keysyms and find the key in the
// user's layout themselves.
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
    }
    return 0;
}
