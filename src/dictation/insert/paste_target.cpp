#include "dictation/insert/paste_target.h"

#include <algorithm>

using Target = KeySynthesizer::Target;

namespace PasteTarget {

bool takesText(Accessibility& a11y, const AccessibleElement& element)
{
    if (const std::optional<bool> editable = a11y.editable(element))
        return *editable;
    if (const auto settable = a11y.settable(element); settable && (settable->value || settable->selectedText))
        return true;
    const auto role = a11y.role(element);
    return role && Accessibility::isTextEntry(*role);
}

Field read(Accessibility& a11y, bool windowNamed)
{
    Field field;
    const std::optional<AccessibleElement> focused = a11y.focusedElement();
    if (!focused)
        return field;
    const std::optional<Accessibility::Role> role = a11y.role(*focused);
    if (!role)
        return field;
    // Terminals that no desktop file names as one still say so through their role.
    if (*role == Accessibility::Role::Terminal)
        field.focus = Focus::Terminal;
    else if (!windowNamed && takesText(a11y, *focused))
        field.focus = Focus::TextEntry;
    if (const std::optional<Accessibility::Range> selection = a11y.selectedRange(*focused))
        field.caret = caretBefore(a11y, *focused, *selection);
    return field;
}

std::optional<CaretContext> caretBefore(Accessibility& a11y, const AccessibleElement& element,
                                        Accessibility::Range selection)
{
    if (selection.location < 0)
        return std::nullopt;
    if (selection.location == 0)
        return CaretContext::after({}, true);
    const int from = std::max(0, selection.location - caretLookBack);
    const std::optional<QString> before = a11y.text(element, {from, selection.location - from});
    if (!before)
        return std::nullopt;
    return CaretContext::after(*before, from == 0);
}

std::optional<Target> choose(const std::optional<AppWindow>& window, Focus focus, bool primary)
{
    // Shift+Insert pastes in terminals and text fields alike, but terminals read it from the
    // primary selection: without one to offer our text in, it would paste the user's.
    const std::optional<Target> shiftInsert = primary ? std::optional(Target::ShiftInsert) : std::nullopt;
    if (window && window->terminal)
        return window->shiftInsertOnly ? shiftInsert : Target::Terminal;
    if (focus == Focus::Terminal)
        return Target::Terminal;
    if (window || focus == Focus::TextEntry)
        return Target::Application;
    return shiftInsert;
}

} // namespace PasteTarget
