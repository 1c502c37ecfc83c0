#pragma once

#include "platform/linux/wayland/xkb_keymap.h"

#include <optional>

class WaylandConnection;

// The keyboard map the user types with: the compositor's, as the seat's keyboard announces it, or
// where the seat has no keyboard yet, the one compiled from the XKB defaults. None if neither can
// be had.
std::optional<XkbKeymap> userKeymap(WaylandConnection& connection);
