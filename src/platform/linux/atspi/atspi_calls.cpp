#include "platform/linux/atspi/atspi_calls.h"

#include "platform/linux/atspi/atspi_element_ref.h"

#include <algorithm>

namespace AtspiCalls {

using Unit = TextOffsets::Unit;
using Role = Accessibility::Role;
using Range = Accessibility::Range;
using WriteOutcome = Accessibility::WriteOutcome;

std::optional<QString> takeString(gchar* raw, const Error& error)
{
    if (error.failed() || !raw) {
        g_free(raw);
        return std::nullopt;
    }
    QString text = QString::fromUtf8(raw);
    g_free(raw);
    return text;
}

std::optional<bool> hasState(AtspiAccessible* accessible, AtspiStateType state)
{
    const Owned<AtspiStateSet> states(atspi_accessible_get_state_set(accessible));
    if (!states || atspi_state_set_is_empty(states.get()) ||
        atspi_state_set_contains(states.get(), ATSPI_STATE_DEFUNCT))
        return std::nullopt;
    return atspi_state_set_contains(states.get(), state) != FALSE;
}

Unit unitOf(AtspiAccessible* accessible)
{
    // Qt answers the toolkit only on the application's root; libatspi keeps it per application.
    Error rootError;
    const Owned<AtspiAccessible> root(atspi_accessible_get_application(accessible, rootError.out()));
    if (rootError.failed() || !root)
        return Unit::CodePoints;
    Error error;
    const std::optional<QString> toolkit =
        takeString(atspi_accessible_get_toolkit_name(root.get(), error.out()), error);
    // Qt's bridge (checked with 6.4) hands its QString indices through instead of code points.
    if (toolkit && toolkit->compare(QLatin1String("Qt"), Qt::CaseInsensitive) == 0)
        return Unit::Utf16;
    return Unit::CodePoints;
}

std::optional<QString> readText(AtspiText* text, int start, int end)
{
    Error error;
    return takeString(atspi_text_get_text(text, start, end, error.out()), error);
}

std::optional<AppRange> appSelection(AtspiText* text)
{
    Error countError;
    const int count = atspi_text_get_n_selections(text, countError.out());
    if (countError.failed())
        return std::nullopt;
    if (count > 0) {
        Error error;
        AtspiRange* range = atspi_text_get_selection(text, 0, error.out());
        if (error.failed() || !range) {
            g_free(range);
            return std::nullopt;
        }
        const AppRange selection{std::min(range->start_offset, range->end_offset),
                                 std::max(range->start_offset, range->end_offset)};
        g_free(range);
        if (selection.start >= 0 && selection.end > selection.start)
            return selection;
    }
    Error caretError;
    const int caret = atspi_text_get_caret_offset(text, caretError.out());
    if (caretError.failed() || caret < 0)
        return std::nullopt;
    return AppRange{caret, caret};
}

std::variant<AppRange, WriteOutcome> toApp(AtspiText* text, Unit unit, Range range)
{
    if (range.location < 0 || range.length < 0)
        return WriteOutcome::OutOfRange;
    const int end16 = range.location + range.length;
    if (unit == Unit::Utf16) {
        Error error;
        const int count = atspi_text_get_character_count(text, error.out());
        if (error.failed())
            return WriteOutcome::Failed;
        if (end16 > count)
            return WriteOutcome::OutOfRange;
        return AppRange{range.location, end16};
    }
    // end16 code points span at least end16 UTF-16 units, so this prefix holds the whole range.
    const std::optional<QString> prefix = readText(text, 0, end16);
    if (!prefix)
        return WriteOutcome::Failed;
    if (prefix->size() < end16)
        return WriteOutcome::OutOfRange;
    const std::optional<int> start = TextOffsets::fromUtf16(unit, *prefix, range.location);
    const std::optional<int> end = TextOffsets::fromUtf16(unit, *prefix, end16);
    if (!start || !end)
        return WriteOutcome::OutOfRange;
    return AppRange{*start, *end};
}

std::optional<QString> applicationName(AtspiAccessible* accessible)
{
    Error rootError;
    const Owned<AtspiAccessible> root(atspi_accessible_get_application(accessible, rootError.out()));
    if (rootError.failed() || !root)
        return std::nullopt;
    Error error;
    return takeString(atspi_accessible_get_name(root.get(), error.out()), error);
}

Role roleFrom(AtspiRole role, AtspiAccessible* accessible)
{
    switch (role) {
    case ATSPI_ROLE_TERMINAL:
        return Role::Terminal;
    case ATSPI_ROLE_ENTRY:
    case ATSPI_ROLE_PASSWORD_TEXT:
    case ATSPI_ROLE_EDITBAR:
        return Role::TextField;
    case ATSPI_ROLE_TEXT:
        // Toolkits use this one role for single-line and multi-line fields alike.
        return hasState(accessible, ATSPI_STATE_MULTI_LINE).value_or(false) ? Role::TextArea
                                                                            : Role::TextField;
    case ATSPI_ROLE_COMBO_BOX:
        return Role::ComboBox;
    case ATSPI_ROLE_DOCUMENT_FRAME:
    case ATSPI_ROLE_DOCUMENT_TEXT:
    case ATSPI_ROLE_DOCUMENT_WEB:
    case ATSPI_ROLE_DOCUMENT_EMAIL:
    case ATSPI_ROLE_DOCUMENT_SPREADSHEET:
    case ATSPI_ROLE_DOCUMENT_PRESENTATION:
        return Role::Document;
    case ATSPI_ROLE_APPLICATION:
        return Role::Application;
    case ATSPI_ROLE_FRAME:
    case ATSPI_ROLE_WINDOW:
    case ATSPI_ROLE_DIALOG:
        return Role::Window;
    default:
        return Role::Other;
    }
}

AtspiAccessible* childAt(AtspiAccessible* parent, int index)
{
    Error error;
    AtspiAccessible* child = atspi_accessible_get_child_at_index(parent, index, error.out());
    if (error.failed() && child) {
        g_object_unref(child);
        return nullptr;
    }
    return child;
}

int childCount(AtspiAccessible* parent)
{
    Error error;
    const int count = atspi_accessible_get_child_count(parent, error.out());
    return error.failed() ? 0 : std::max(count, 0);
}

std::optional<AccessibleElement> adopt(AtspiAccessible* accessible)
{
    AccessibleElement handle = AtspiElementRef::adopt(accessible);
    if (handle.isNull())
        return std::nullopt;
    return handle;
}

} // namespace AtspiCalls
