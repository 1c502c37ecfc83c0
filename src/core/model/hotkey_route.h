#pragma once

// Where the hotkey's presses come from, best first: what onboarding and home explain.
enum class HotkeyRoute {
    // XInput 2 on an X11 session: every key of the desktop.
    X11Desktop,
    // The keyboards under /dev/input, readable by the user: every key, in every session.
    Evdev,
    // KDE's global shortcut service: press and release of a lone modifier, left and right as one.
    KGlobalAccel,
    // The desktop portal's global shortcuts: a key the desktop lets the user confirm or change.
    Portal,
    // A binding in the compositor's configuration that runs `quenda --hotkey press|release`.
    CommandLine,
};
