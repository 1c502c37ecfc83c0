#include "dictation/learn/accessibility_text_reader.h"

#include <algorithm>

AccessibilityTextReader::AccessibilityTextReader(Accessibility& accessibility)
    : m_accessibility(accessibility)
{
}

std::optional<DictationAnchor> AccessibilityTextReader::locateInsert(const QString& text)
{
    if (!m_accessibility.trusted())
        return std::nullopt;
    const std::optional<AccessibleElement> element = m_accessibility.focusedElement();
    if (!element)
        return std::nullopt;
    const std::optional<Accessibility::Range> range = rangeOfJustInserted(text, *element);
    if (!range)
        return std::nullopt;
    const int end = range->location + range->length;
    // A read that reaches past the field's end fails, so a short tail after the insert is read at
    // its own length; unread, it would count as the user's edit.
    const int available =
        std::max(length(*element).value_or(end + DictationAnchor::followingLength) - end, 0);
    const int count = std::min(DictationAnchor::followingLength, available);
    const QString following = count > 0 ? textIn(*element, {end, count}).value_or(QString()) : QString();
    return DictationAnchor{.element = *element, .location = range->location, .following = following};
}

std::optional<QString> AccessibilityTextReader::textAt(const DictationAnchor& anchor, const QString& original)
{
    const auto originalLength = static_cast<int>(original.size());
    if (originalLength == 0)
        return std::nullopt;
    const int want = originalLength + lookAhead + static_cast<int>(anchor.following.size());
    const std::optional<int> total = length(anchor.element);
    const int available = total ? std::max(*total - anchor.location, 0) : want;
    const int count = std::min(available, want);
    if (count == 0)
        return std::nullopt;
    const std::optional<QString> text = textIn(anchor.element, {anchor.location, count});
    if (!text || anchor.following.isEmpty())
        return text;
    const qsizetype end = text->indexOf(anchor.following);
    if (end < 0)
        return std::nullopt;
    return text->first(end);
}

std::optional<Accessibility::Range>
AccessibilityTextReader::rangeOfJustInserted(const QString& text, const AccessibleElement& element)
{
    const std::optional<Accessibility::Range> selection = m_accessibility.selectedRange(element);
    const auto n = static_cast<int>(text.size());
    if (!selection || selection->length != 0 || n < 1 || selection->location < n)
        return std::nullopt;
    const Accessibility::Range range{.location = selection->location - n, .length = n};
    if (textIn(element, range) != text)
        return std::nullopt;
    return range;
}

std::optional<QString> AccessibilityTextReader::textIn(const AccessibleElement& element,
                                                       Accessibility::Range range)
{
    if (std::optional<QString> text = m_accessibility.text(element, range))
        return text;
    // Some applications answer the whole value but no ranges of it.
    const std::optional<QString> value = m_accessibility.value(element);
    if (!value || value->size() < range.location + range.length)
        return std::nullopt;
    return value->sliced(range.location, range.length);
}

std::optional<int> AccessibilityTextReader::length(const AccessibleElement& element)
{
    if (const std::optional<int> count = m_accessibility.characterCount(element))
        return count;
    const std::optional<QString> value = m_accessibility.value(element);
    return value ? std::optional<int>(static_cast<int>(value->size())) : std::nullopt;
}
