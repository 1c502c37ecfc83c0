#pragma once

#include "core/base/enum_table.h"

#include <QString>

// The modifier keys that can serve as the dictation hotkey. X11 never reports the Fn key, so
// "function" stays a valid setting but is watched as right Control.
enum class Hotkey { RightOption, RightCommand, RightControl, Function, LeftControl };

namespace HotkeyText {

// In settings order. A stored value naming no key falls back to right Control, the default on this
// desktop.
inline constexpr EnumTable<Hotkey>::Row rows[] = {
    {Hotkey::RightOption, QLatin1String("rightOption")},
    {Hotkey::RightCommand, QLatin1String("rightCommand")},
    {Hotkey::RightControl, QLatin1String("rightControl")},
    {Hotkey::Function, QLatin1String("function")},
    {Hotkey::LeftControl, QLatin1String("leftControl")},
};
inline constexpr EnumTable<Hotkey> table{rows, Hotkey::RightControl};

} // namespace HotkeyText
