#pragma once

#include "platform/accessibility.h"

typedef struct _AtspiAccessible AtspiAccessible;

// What the backend reads from and writes to one element, in the UTF-16 units callers count in. On
// the accessibility thread only, with an accessible that is not null.
namespace AtspiField {

using Range = Accessibility::Range;
using WriteOutcome = Accessibility::WriteOutcome;

std::optional<Accessibility::Role> role(AtspiAccessible* accessible);
std::optional<bool> editable(AtspiAccessible* accessible);
std::optional<QString> value(AtspiAccessible* accessible);
std::optional<QString> selectedText(AtspiAccessible* accessible);
std::optional<Range> selectedRange(AtspiAccessible* accessible);
std::optional<Accessibility::Settable> settable(AtspiAccessible* accessible);
std::optional<int> characterCount(AtspiAccessible* accessible);
std::optional<QString> text(AtspiAccessible* accessible, Range range);

WriteOutcome writeSelectedText(AtspiAccessible* accessible, const QString& text);
WriteOutcome setSelectedRange(AtspiAccessible* accessible, Range range);
WriteOutcome focus(AtspiAccessible* accessible);

} // namespace AtspiField
