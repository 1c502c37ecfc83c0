#include "dictation/insert/selection_probe.h"

#include <QList>

namespace {

bool tooLong(const std::optional<QString>& text)
{
    return text && text->trimmed().size() > SelectionProbe::longestSelection;
}

} // namespace

bool SelectionProbe::acceptable(const std::optional<QString>& text)
{
    if (!text)
        return false;
    const QString trimmed = text->trimmed();
    return !trimmed.isEmpty() && trimmed.size() <= longestSelection;
}

SelectionProbe::Finding SelectionProbe::run(Accessibility& accessibility, const Clock& clock)
{
    using Kind = Finding::Kind;
    if (!accessibility.trusted())
        return {};
    const std::optional<AccessibleElement> focused = accessibility.focusedElement();
    if (!focused)
        return {};
    const qint64 deadline = clock.elapsedMs() + budgetMs;
    const auto late = [&] { return clock.elapsedMs() >= deadline; };
    const bool terminal = accessibility.role(*focused) == Accessibility::Role::Terminal;

    // Browsers and editors often report the selection on a parent or child of the focused element.
    QList<AccessibleElement> list{*focused};
    AccessibleElement current = *focused;
    for (int i = 0; i < ancestors && !late(); ++i) {
        const std::optional<AccessibleElement> parent = accessibility.parent(current);
        if (!parent)
            break;
        list.append(*parent);
        current = *parent;
    }
    QList<AccessibleElement> queue{*focused};
    int added = 0;
    bool full = false;
    while (!queue.isEmpty() && !full && list.size() < candidates && !late()) {
        const std::optional<QList<AccessibleElement>> children =
            accessibility.children(queue.takeFirst(), childrenPerElement);
        for (const AccessibleElement& child : children.value_or(QList<AccessibleElement>())) {
            list.append(child);
            queue.append(child);
            full = ++added >= descendants || list.size() >= candidates;
            if (full)
                break;
        }
    }

    bool focusEmpty = false;
    bool unreadable = false;
    for (const AccessibleElement& candidate : list) {
        if (late())
            break;
        const std::optional<QString> selected = accessibility.selectedText(candidate);
        if (acceptable(selected))
            return {.kind = Kind::Text, .text = *selected, .terminal = terminal};
        // A known selection too long for a command is an answer: a copy would only find it again.
        if (tooLong(selected))
            return {.kind = Kind::TooLong, .terminal = terminal};
        const std::optional<Accessibility::Range> range = accessibility.selectedRange(candidate);
        if (!range)
            continue;
        if (range->length == 0) {
            focusEmpty = focusEmpty || candidate == *focused;
            continue;
        }
        const std::optional<QString> text = accessibility.text(candidate, *range);
        if (acceptable(text))
            return {.kind = Kind::Text, .text = *text, .terminal = terminal};
        if (tooLong(text))
            return {.kind = Kind::TooLong, .terminal = terminal};
        unreadable = true;
    }
    if (unreadable || !focusEmpty)
        return {.kind = Kind::Unknown, .terminal = terminal};
    return {.kind = Kind::ConfirmedEmpty, .terminal = terminal};
}
