#pragma once

#include "dictation/learn/dictation_anchor.h"

#include <QString>

#include <optional>

// Finds a just-inserted text in the focused field and reads its current form later. The calls
// block on the accessibility service: they run on a worker thread, never on the main thread.
class InsertedTextReader {
public:
    virtual ~InsertedTextReader() = default;

    // Where `text` ends at the caret of the focused field; none when it is not (or no longer) there.
    virtual std::optional<DictationAnchor> locateInsert(const QString& text) = 0;
    // The field's text from the anchor up to the text that followed the insert; none when unreadable.
    virtual std::optional<QString> textAt(const DictationAnchor& anchor, const QString& original) = 0;
};
