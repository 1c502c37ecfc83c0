#pragma once

#include "core/base/clock.h"
#include "platform/accessibility.h"

#include <QString>

// Looks for the selected text in the focused element and its neighbourhood through the
// accessibility service. Its calls block: run it inside Accessibility::run.
class SelectionProbe final {
public:
    static constexpr int budgetMs = 1100;
    static constexpr int ancestors = 5;
    static constexpr int childrenPerElement = 6;
    static constexpr int descendants = 12;
    static constexpr int candidates = 14;
    static constexpr qsizetype longestSelection = 20000;

    struct Finding {
        enum class Kind {
            Text,           // `text` is the selection
            ConfirmedEmpty, // the focused element shows only its caret
            TooLong,        // a selection is there, longer than a command takes
            Unknown,        // no decision; only a copy can tell
        };
        Kind kind = Kind::Unknown;
        QString text = {};
        bool terminal = false; // the focused element is a terminal
    };

    // A selection within the limits, untrimmed; none for blank or too long text.
    static bool acceptable(const std::optional<QString>& text);
    static Finding run(Accessibility& accessibility, const Clock& clock);
};
