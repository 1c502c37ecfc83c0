#pragma once

#include "core/model/dictionary_item.h"

#include <QList>
#include <QString>

#include <optional>

// Turns a user's hand corrections of an inserted text into dictionary entries: the edited text is
// aligned with the inserted one word by word, and only small, plausible substitutions count.
namespace DictionaryEdits {

constexpr qsizetype maxItems = 3;
// Longer heard forms or terms are sentences, not misheard words.
constexpr qsizetype maxLength = 48;

// At most maxItems entries, in text order; none when the edit rewrote too much.
QList<DictionaryItem> learn(const QString& inserted, const QString& edited);
// The entry for hearing `heard` where `term` was meant, when the pair looks like a misheard word.
std::optional<DictionaryItem> item(const QString& heard, const QString& term);

} // namespace DictionaryEdits
