#include "platform/linux/wayland/input_protocols.h"

#include <wayland-client.h>

#include <iterator>

namespace InputProtocols {

namespace {

// Arguments that are no object need no type; requests share this run of them. libwayland takes
// the arrays as mutable although it never writes them.
const wl_interface* noTypes[] = {nullptr, nullptr, nullptr, nullptr};
const wl_interface* createVirtualKeyboardTypes[] = {&wl_seat_interface, &virtualKeyboard};

const wl_message virtualKeyboardManagerRequests[] = {
    {"create_virtual_keyboard", "on", createVirtualKeyboardTypes},
};

const wl_message virtualKeyboardRequests[] = {
    {"keymap", "uhu", noTypes},
    {"key", "uuu", noTypes},
    {"modifiers", "uuuu", noTypes},
    {"destroy", "", noTypes},
};

const wl_message fakeInputRequests[] = {
    {"authenticate", "ss", noTypes},  {"pointer_motion", "ff", noTypes},
    {"button", "uu", noTypes},        {"axis", "uf", noTypes},
    {"touch_down", "2uff", noTypes},  {"touch_motion", "2uff", noTypes},
    {"touch_up", "2u", noTypes},      {"touch_cancel", "2", noTypes},
    {"touch_frame", "2", noTypes},    {"pointer_motion_absolute", "3ff", noTypes},
    {"keyboard_key", "4uu", noTypes},
};

} // namespace

const wl_interface virtualKeyboardManager = {
    "zwp_virtual_keyboard_manager_v1", 1, int(std::size(virtualKeyboardManagerRequests)),
    virtualKeyboardManagerRequests,    0, nullptr,
};

const wl_interface virtualKeyboard = {
    "zwp_virtual_keyboard_v1", 1, int(std::size(virtualKeyboardRequests)),
    virtualKeyboardRequests,   0, nullptr,
};

const wl_interface fakeInput = {
    "org_kde_kwin_fake_input", 4, int(std::size(fakeInputRequests)), fakeInputRequests, 0, nullptr,
};

} // namespace InputProtocols
