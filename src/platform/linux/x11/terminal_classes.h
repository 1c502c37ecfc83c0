#pragma once

#include <QString>

#include <optional>

// Terminal emulators known by the WM_CLASS of their windows. Desktop files that file an
// application under TerminalEmulator catch the ones this list misses.
namespace TerminalClasses {

// How a terminal takes a paste: Ctrl+Shift+V, or only Shift+Insert, from the primary selection.
enum class Paste { ControlShiftV, ShiftInsert };

// Either part of WM_CLASS, compared without case; the instance decides where both are known.
std::optional<Paste> find(const QString& instance, const QString& className);
bool contains(const QString& instance, const QString& className);

} // namespace TerminalClasses
