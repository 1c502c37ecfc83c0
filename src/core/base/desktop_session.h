#pragma once

// The kind of graphical session this program runs in, read from the environment.
namespace DesktopSession {

// Whether the session is a Wayland one: the program, an X11 client of XWayland, then reaches other
// programs only through the routes the compositor offers.
bool isWayland();

} // namespace DesktopSession
