#pragma once

// The kind of graphical session this program runs in, read from the environment.
namespace DesktopSession {

// Whether the session is a Wayland one: the program, an X11 client, then sees keys and pastes only
// in X11 (XWayland) windows.
bool isWayland();

} // namespace DesktopSession
