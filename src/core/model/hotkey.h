#pragma once

#include <QList>
#include <QString>

#include <optional>

// The modifier keys that can serve as the dictation hotkey. X11 never reports the Fn key, so
// "function" stays a valid setting but is watched as right Control.
enum class Hotkey { RightOption, RightCommand, RightControl, Function, LeftControl };

namespace HotkeyText {

// All keys, in settings order.
const QList<Hotkey>& all();
// "rightOption", "rightCommand", "rightControl", "function", "leftControl".
QString rawValue(Hotkey key);
// Exactly one of the five raw values; anything else is absent.
std::optional<Hotkey> fromRaw(const QString& raw);
// A stored value naming no hotkey falls back to right Control, the default on this desktop.
Hotkey fromStored(const QString& raw);
// The UI texts under "hotkey.<raw>" and "hotkey.<raw>.symbol".
QString title(Hotkey key);
QString symbol(Hotkey key);

} // namespace HotkeyText
