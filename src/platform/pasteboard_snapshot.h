#pragma once

#include "platform/pasteboard_item.h"

#include <QList>
#include <QString>

#include <optional>

// The clipboard as it was at one moment, to be put back later.
struct PasteboardSnapshot {
    // Password managers mark what they copy with this type and the data "secret".
    static constexpr QLatin1String secretHintType{"x-kde-passwordManagerHint"};

    QList<PasteboardItem> items; // in the clipboard's order; types whose data was empty are left out
    std::optional<QString> text; // the plain text, as Pasteboard::plainText() read it

    // A password manager put this on the clipboard.
    bool isSecret() const
    {
        for (const PasteboardItem& item : items) {
            if (item.type == secretHintType)
                return item.data.trimmed() == "secret";
        }
        return false;
    }

    // The text that may be reported as displaced once the clipboard is not restored: a secret's
    // text would end up in the history file.
    std::optional<QString> displacedText() const { return isSecret() ? std::nullopt : text; }

    friend bool operator==(const PasteboardSnapshot&, const PasteboardSnapshot&) = default;
};
