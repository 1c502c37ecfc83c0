#pragma once

// Whether the desktop asks programs to keep still: GNOME's "enable-animations" switched off (the
// setting GTK programs follow too). Read from the settings store, without the session bus.
namespace DesktopMotion {

bool reduced();

} // namespace DesktopMotion
