#pragma once

#include "platform/accessibility.h"

#include <QString>

#include <functional>
#include <optional>

// Replacing an application's selection with new text. AT-SPI has no "replace": the selection is
// deleted, then the text inserted. When the insert fails, the deleted text is put back, so a
// refused write never loses what the user had selected. Offsets are the application's own.
namespace SelectionRewrite {

struct Steps {
    std::function<std::optional<QString>(int start, int end)> read;
    std::function<bool(int start, int end)> remove;
    // False when the application refused, none when it did not answer in time.
    std::function<std::optional<bool>(int position, const QString& text)> insert;
    std::function<bool(int offset)> moveCaret;
};

// Replaces [start, end) (the caret when equal) by `text`, whose length in the application's
// offsets is `length`, and moves the caret after it.
Accessibility::WriteOutcome apply(const Steps& steps, int start, int end, const QString& text, int length);

} // namespace SelectionRewrite
