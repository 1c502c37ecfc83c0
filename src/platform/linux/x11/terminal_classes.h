#pragma once

#include <QString>

// Terminal emulators known by the WM_CLASS of their windows. Desktop files that file an
// application under TerminalEmulator catch the ones this list misses.
namespace TerminalClasses {

// Either part of WM_CLASS, compared without case.
bool contains(const QString& instance, const QString& className);

} // namespace TerminalClasses
