#pragma once

#include "dictation/learn/dictation_anchor.h"
#include "platform/accessibility.h"

#include <optional>

// Reads inserted text back through the accessibility service, in the UTF-16 units it counts in.
// Its calls block: use it from a worker thread.
class AccessibilityTextReader final {
public:
    // How far past the inserted text's original length a read reaches, for words the user added.
    static constexpr int lookAhead = 80;

    explicit AccessibilityTextReader(Accessibility& accessibility);

    // Where `text` ends at the caret of the focused field; none when it is not (or no longer) there.
    std::optional<DictationAnchor> locateInsert(const QString& text);
    // The field's text from the anchor up to the text that followed the insert; none when unreadable.
    std::optional<QString> textAt(const DictationAnchor& anchor, const QString& original);

    // The range of `text` when it ends at the element's caret (no selection) exactly as given.
    std::optional<Accessibility::Range> rangeOfJustInserted(const QString& text,
                                                            const AccessibleElement& element);

private:
    std::optional<QString> textIn(const AccessibleElement& element, Accessibility::Range range);
    std::optional<int> length(const AccessibleElement& element);

    Accessibility& m_accessibility;
};
