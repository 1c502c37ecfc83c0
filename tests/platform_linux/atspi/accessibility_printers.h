#pragma once

#include "platform/accessibility.h"
#include "speech/qstring_printer.h"

#include <ostream>

// Readable accessibility values in GoogleTest failure messages.
inline void PrintTo(const Accessibility::Range& range, std::ostream* os)
{
    *os << "{location " << range.location << ", length " << range.length << '}';
}

inline void PrintTo(Accessibility::WriteOutcome outcome, std::ostream* os)
{
    constexpr const char* names[] = {"Done", "Unsupported", "OutOfRange", "Failed", "SelectionLost"};
    *os << names[static_cast<int>(outcome)];
}
