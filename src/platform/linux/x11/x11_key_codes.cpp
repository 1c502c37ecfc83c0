#include "platform/linux/x11/x11_key_codes.h"

#include <X11/Xlib.h>
#include <X11/keysym.h>

namespace {

struct NamedKey {
    PhysicalKey key;
    KeySym keysym;
    unsigned standardCode;
};

constexpr std::array<NamedKey, 5> namedKeys{{
    {PhysicalKey::RightAlt, XK_Alt_R, 108},
    {PhysicalKey::RightSuper, XK_Super_R, 134},
    {PhysicalKey::RightControl, XK_Control_R, 105},
    {PhysicalKey::LeftControl, XK_Control_L, 37},
    {PhysicalKey::Escape, XK_Escape, 9},
}};

} // namespace

X11KeyCodes X11KeyCodes::standard()
{
    X11KeyCodes codes;
    for (std::size_t i = 0; i < namedCount; ++i)
        codes.m_named[i] = namedKeys[i].standardCode;
    return codes;
}

X11KeyCodes X11KeyCodes::lookUp(Display* display)
{
    X11KeyCodes codes = standard();
    for (std::size_t i = 0; i < namedCount; ++i) {
        if (const KeyCode code = XKeysymToKeycode(display, namedKeys[i].keysym))
            codes.m_named[i] = code;
    }
    if (XModifierKeymap* map = XGetModifierMapping(display)) {
        // Eight modifiers (Shift, Lock, Control, Mod1-5), each with up to max_keypermod keys.
        for (int i = 0; i < 8 * map->max_keypermod; ++i) {
            if (const KeyCode code = map->modifiermap[i])
                codes.m_modifiers.set(code);
        }
        XFreeModifiermap(map);
    }
    return codes;
}

std::optional<PhysicalKey> X11KeyCodes::named(unsigned keycode) const
{
    for (std::size_t i = 0; i < namedCount; ++i) {
        if (m_named[i] == keycode)
            return namedKeys[i].key;
    }
    return std::nullopt;
}

PhysicalKey X11KeyCodes::classify(unsigned keycode) const
{
    if (const auto key = named(keycode))
        return *key;
    if (keycode < m_modifiers.size() && m_modifiers.test(keycode))
        return PhysicalKey::Modifier;
    return PhysicalKey::Other;
}
