#pragma once

#include "platform/key_source.h"

// Kernel key codes (linux/input-event-codes.h) as the hotkey monitor tells keys apart. They name
// places on the keyboard, before any layout: Caps Lock stays Caps Lock where the layout makes it
// a Control.
namespace EvdevKeyCodes {

// Codes of keys; the rest of the EV_KEY range are buttons of mice, pads and tablets.
bool isKey(unsigned code);
PhysicalKey classify(unsigned code);

} // namespace EvdevKeyCodes
