#include "dictation/insert/paste_target.h"

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

Focus focus(Accessibility& a11y, bool windowNamed)
{
    const std::optional<AccessibleElement> focused = a11y.focusedElement();
    if (!focused)
        return Focus::Unseen;
    // Terminals that no desktop file names as one still say so through their role.
    if (a11y.role(*focused) == Accessibility::Role::Terminal)
        return Focus::Terminal;
    return !windowNamed && takesText(a11y, *focused) ? Focus::TextEntry : Focus::Unseen;
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
