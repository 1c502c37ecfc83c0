#include "platform/linux/atspi/atspi_calls.h"
#include "platform/linux/atspi/atspi_field.h"
#include "platform/linux/x11/terminal_classes.h"

using namespace AtspiCalls;
using Unit = TextOffsets::Unit;

namespace {

Owned<AtspiText> textOf(AtspiAccessible* accessible)
{
    return Owned<AtspiText>(atspi_accessible_get_text_iface(accessible));
}

struct Selection {
    Owned<AtspiText> text;
    AppRange range;
};

// The element's text with its selection; none when either cannot be read.
std::optional<Selection> selectionOf(AtspiAccessible* accessible)
{
    Owned<AtspiText> text = textOf(accessible);
    if (!text)
        return std::nullopt;
    const std::optional<AppRange> range = appSelection(text.get());
    if (!range)
        return std::nullopt;
    return Selection{std::move(text), *range};
}

} // namespace

namespace AtspiField {

std::optional<Accessibility::Role> role(AtspiAccessible* accessible)
{
    Error error;
    const AtspiRole role = atspi_accessible_get_role(accessible, error.out());
    if (error.failed() || role == ATSPI_ROLE_INVALID)
        return std::nullopt;
    const Accessibility::Role found = roleFrom(role, accessible);
    // Under Wayland a terminal has no X window to be known by, and many give their view no terminal
    // role: its application's name tells.
    if (found != Accessibility::Role::Terminal && found != Accessibility::Role::Application) {
        const std::optional<QString> application = applicationName(accessible);
        if (application && TerminalClasses::contains(*application, {}))
            return Accessibility::Role::Terminal;
    }
    return found;
}

std::optional<bool> editable(AtspiAccessible* accessible)
{
    return hasState(accessible, ATSPI_STATE_EDITABLE);
}

std::optional<QString> value(AtspiAccessible* accessible)
{
    const Owned<AtspiText> text = textOf(accessible);
    return text ? readText(text.get(), 0, -1) : std::nullopt;
}

std::optional<QString> selectedText(AtspiAccessible* accessible)
{
    const std::optional<Selection> selection = selectionOf(accessible);
    if (!selection)
        return std::nullopt;
    if (selection->range.end == selection->range.start)
        return QString();
    return readText(selection->text.get(), selection->range.start, selection->range.end);
}

std::optional<Range> selectedRange(AtspiAccessible* accessible)
{
    const std::optional<Selection> selection = selectionOf(accessible);
    if (!selection)
        return std::nullopt;
    const AppRange range = selection->range;
    const Unit unit = unitOf(accessible);
    if (unit == Unit::Utf16)
        return Range{range.start, range.end - range.start};
    const std::optional<QString> prefix = readText(selection->text.get(), 0, range.end);
    if (!prefix)
        return std::nullopt;
    const std::optional<int> start = TextOffsets::toUtf16(unit, *prefix, range.start);
    const std::optional<int> end = TextOffsets::toUtf16(unit, *prefix, range.end);
    if (!start || !end)
        return std::nullopt;
    return Range{*start, *end - *start};
}

std::optional<Accessibility::Settable> settable(AtspiAccessible* accessible)
{
    const std::optional<bool> editableState = hasState(accessible, ATSPI_STATE_EDITABLE);
    if (!editableState)
        return std::nullopt;
    const Owned<AtspiEditableText> editableText(atspi_accessible_get_editable_text_iface(accessible));
    const Owned<AtspiText> text(atspi_accessible_get_text_iface(accessible));
    const bool writable = editableText && *editableState;
    return Accessibility::Settable{
        .value = writable, .selectedText = writable, .selectedRange = text != nullptr};
}

std::optional<int> characterCount(AtspiAccessible* accessible)
{
    const Owned<AtspiText> text = textOf(accessible);
    if (!text)
        return std::nullopt;
    const Unit unit = unitOf(accessible);
    if (unit == Unit::Utf16) {
        Error error;
        const int count = atspi_text_get_character_count(text.get(), error.out());
        return error.failed() || count < 0 ? std::nullopt : std::optional<int>(count);
    }
    const std::optional<QString> all = readText(text.get(), 0, -1);
    return all ? std::optional<int>(static_cast<int>(all->size())) : std::nullopt;
}

std::optional<QString> text(AtspiAccessible* accessible, Range range)
{
    const Owned<AtspiText> text = textOf(accessible);
    if (!text)
        return std::nullopt;
    const auto app = toApp(text.get(), unitOf(accessible), range);
    if (!std::holds_alternative<AppRange>(app))
        return std::nullopt;
    const AppRange bounds = std::get<AppRange>(app);
    std::optional<QString> found = readText(text.get(), bounds.start, bounds.end);
    if (found && found->size() != range.length)
        return std::nullopt;
    return found;
}

} // namespace AtspiField
