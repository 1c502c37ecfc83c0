#pragma once

#include <cstdint>

struct wl_interface;

// The interfaces of the compositors' input protocols we speak, written out for libwayland's
// marshalling: names, versions and request signatures as the compositors define them. None of
// them has events.
namespace InputProtocols {

// zwp_virtual_keyboard_manager_v1 (wlroots and others).
extern const wl_interface virtualKeyboardManager;
namespace VirtualKeyboardManager {
inline constexpr uint32_t createVirtualKeyboard = 0; // (seat, new id)
} // namespace VirtualKeyboardManager

// zwp_virtual_keyboard_v1.
extern const wl_interface virtualKeyboard;
namespace VirtualKeyboard {
inline constexpr uint32_t keymap = 0;    // (format, fd, size)
inline constexpr uint32_t key = 1;       // (time, key, state)
inline constexpr uint32_t modifiers = 2; // (depressed, latched, locked, group)
inline constexpr uint32_t destroy = 3;
inline constexpr uint32_t keymapFormatXkbV1 = 1;
} // namespace VirtualKeyboard

// org_kde_kwin_fake_input (KWin).
extern const wl_interface fakeInput;
namespace FakeInput {
inline constexpr uint32_t authenticate = 0; // (application, reason)
inline constexpr uint32_t keyboardKey = 10; // (evdev code, state), since version 4
inline constexpr uint32_t keyboardKeySince = 4;
} // namespace FakeInput

} // namespace InputProtocols
