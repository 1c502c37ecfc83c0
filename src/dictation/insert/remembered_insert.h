#pragma once

#include "platform/accessibility.h"

#include <QString>

#include <optional>

// The field that had the focus when a dictation started, and how it read then.
struct RememberedInsert {
    AccessibleElement element;
    qint64 pid = 0;
    std::optional<Accessibility::Range> range;
    std::optional<QString> selected = {}; // the text in `range` at the start
    std::optional<int> length = {};       // the field's length at the start
};
