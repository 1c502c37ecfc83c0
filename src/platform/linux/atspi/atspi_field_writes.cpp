#include "platform/linux/atspi/atspi_calls.h"
#include "platform/linux/atspi/atspi_field.h"
#include "platform/linux/atspi/selection_rewrite.h"

using namespace AtspiCalls;
using Unit = TextOffsets::Unit;

namespace AtspiField {

WriteOutcome writeSelectedText(AtspiAccessible* a, const QString& newText)
{
    const Owned<AtspiEditableText> editableText(atspi_accessible_get_editable_text_iface(a));
    const Owned<AtspiText> text(atspi_accessible_get_text_iface(a));
    if (!editableText || !text || !hasState(a, ATSPI_STATE_EDITABLE).value_or(false))
        return WriteOutcome::Unsupported;
    const std::optional<AppRange> selection = appSelection(text.get());
    if (!selection)
        return WriteOutcome::Failed;
    AtspiText* t = text.get();
    AtspiEditableText* e = editableText.get();
    const Unit unit = unitOf(a);
    const SelectionRewrite::Steps steps{
        .read = [t](int start, int end) { return readText(t, start, end); },
        .remove =
            [e](int start, int end) {
                Error error;
                return atspi_editable_text_delete_text(e, start, end, error.out()) && !error.failed();
            },
        .insert = [e, unit](int position, const QString& inserted) -> std::optional<bool> {
            const QByteArray utf8 = inserted.toUtf8();
            // ATK toolkits read the length as bytes; Qt cuts or pads the text to that many
            // UTF-16 units (padding with NULs the application keeps).
            const qsizetype length = unit == Unit::Utf16 ? inserted.size() : utf8.size();
            Error error;
            const bool done = atspi_editable_text_insert_text(e, position, utf8.constData(),
                                                              static_cast<gint>(length), error.out());
            if (error.failed())
                return std::nullopt;
            return done;
        },
        .moveCaret =
            [t](int offset) {
                Error error;
                return atspi_text_set_caret_offset(t, offset, error.out()) && !error.failed();
            },
    };
    const int length = TextOffsets::length(unit, newText);
    return SelectionRewrite::apply(steps, selection->start, selection->end, newText, length);
}

WriteOutcome setSelectedRange(AtspiAccessible* a, Range range)
{
    const Owned<AtspiText> text(atspi_accessible_get_text_iface(a));
    if (!text)
        return WriteOutcome::Unsupported;
    const auto app = toApp(text.get(), unitOf(a), range);
    if (!std::holds_alternative<AppRange>(app))
        return std::get<WriteOutcome>(app);
    const AppRange bounds = std::get<AppRange>(app);
    Error countError;
    const int count = atspi_text_get_n_selections(text.get(), countError.out());
    if (countError.failed())
        return WriteOutcome::Failed;
    Error error;
    bool done = false;
    if (bounds.end == bounds.start) {
        for (int i = 0; i < count; ++i)
            atspi_text_remove_selection(text.get(), 0, nullptr);
        done = atspi_text_set_caret_offset(text.get(), bounds.start, error.out());
    } else if (count > 0) {
        done = atspi_text_set_selection(text.get(), 0, bounds.start, bounds.end, error.out());
    } else {
        done = atspi_text_add_selection(text.get(), bounds.start, bounds.end, error.out());
    }
    return done && !error.failed() ? WriteOutcome::Done : WriteOutcome::Failed;
}

WriteOutcome focus(AtspiAccessible* a)
{
    const Owned<AtspiComponent> component(atspi_accessible_get_component_iface(a));
    if (!component)
        return WriteOutcome::Unsupported;
    Error error;
    const bool done = atspi_component_grab_focus(component.get(), error.out());
    return done && !error.failed() ? WriteOutcome::Done : WriteOutcome::Failed;
}

} // namespace AtspiField
