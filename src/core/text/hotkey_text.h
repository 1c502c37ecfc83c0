#pragma once

#include "core/model/hotkey.h"

#include <QString>

namespace HotkeyText {

// The UI texts under "hotkey.<raw>" and "hotkey.<raw>.symbol".
QString title(Hotkey key);
QString symbol(Hotkey key);

} // namespace HotkeyText
