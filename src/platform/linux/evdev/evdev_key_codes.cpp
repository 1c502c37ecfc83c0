#include "platform/linux/evdev/evdev_key_codes.h"

#include <linux/input-event-codes.h>

bool EvdevKeyCodes::isKey(unsigned code)
{
    // Buttons are no keys: a mouse's come as clicks of their own, and X11 reports no others.
    return code < BTN_MISC || (code >= KEY_OK && code < BTN_DPAD_UP) ||
           (code > BTN_DPAD_RIGHT && code < BTN_TRIGGER_HAPPY);
}

PhysicalKey EvdevKeyCodes::classify(unsigned code)
{
    switch (code) {
    case KEY_RIGHTALT:
        return PhysicalKey::RightAlt;
    case KEY_RIGHTMETA:
        return PhysicalKey::RightSuper;
    case KEY_RIGHTCTRL:
        return PhysicalKey::RightControl;
    case KEY_LEFTCTRL:
        return PhysicalKey::LeftControl;
    case KEY_ESC:
        return PhysicalKey::Escape;
    // The keys an X server's standard modifier map holds, and Fn where a laptop reports it.
    case KEY_LEFTSHIFT:
    case KEY_RIGHTSHIFT:
    case KEY_LEFTALT:
    case KEY_LEFTMETA:
    case KEY_CAPSLOCK:
    case KEY_NUMLOCK:
    case KEY_FN:
        return PhysicalKey::Modifier;
    default:
        return PhysicalKey::Other;
    }
}
