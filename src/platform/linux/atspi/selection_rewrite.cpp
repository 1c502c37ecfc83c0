#include "platform/linux/atspi/selection_rewrite.h"

namespace SelectionRewrite {

Accessibility::WriteOutcome apply(const Steps& steps, int start, int end, const QString& text, int length)
{
    using Outcome = Accessibility::WriteOutcome;
    QString removed;
    if (end > start) {
        const std::optional<QString> selected = steps.read(start, end);
        if (!selected)
            return Outcome::Failed;
        removed = *selected;
        if (!steps.remove(start, end))
            return Outcome::Failed;
    }
    const std::optional<bool> inserted =
        text.isEmpty() ? std::optional<bool>(true) : steps.insert(start, text);
    // An insert that timed out may still have gone in late: putting the old text back then
    // would leave both.
    if (inserted.value_or(false) || (!inserted && steps.read(start, start + length) == text)) {
        // The write stands even when the caret stays where the application put it.
        steps.moveCaret(start + length);
        return Outcome::Done;
    }
    if (removed.isEmpty())
        return Outcome::Failed;
    return steps.insert(start, removed).value_or(false) ? Outcome::Failed : Outcome::SelectionLost;
}

} // namespace SelectionRewrite
