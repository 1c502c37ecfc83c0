#pragma once

#include "core/model/dictionary_item.h"

#include <QList>
#include <QString>

#include <optional>

// Brings learned entries into the user's dictionary text without touching what the user wrote.
namespace LearnedEntries {

struct Merge {
    QString dictionary;          // the new dictionary text
    QList<DictionaryItem> added; // the entries that were new, in the order learned
};

// Adds each learned entry the dictionary lacks (term and heard form compared ignoring case) as a
// line of its own under the learned mark, before the first entry, keeping comments and blank
// lines; none when nothing is new.
std::optional<Merge> applyLearned(const QString& dictionary, const QList<DictionaryItem>& learned);
// "heard → term, ..." of the first three added entries, for the notice.
QString summary(const QList<DictionaryItem>& added);

} // namespace LearnedEntries
