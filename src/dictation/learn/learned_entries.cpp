#include "dictation/learn/learned_entries.h"

#include "core/model/dictionary_lines.h"
#include "dictation/learn/case_fold.h"

#include <algorithm>

std::optional<LearnedEntries::Merge> LearnedEntries::applyLearned(const QString& dictionary,
                                                                  const QList<DictionaryItem>& learned)
{
    QList<DictionaryItem> known = DictionaryItem::parse(dictionary);
    QList<DictionaryItem> added;
    for (const DictionaryItem& item : learned) {
        const bool duplicate = std::any_of(known.begin(), known.end(), [&item](const DictionaryItem& other) {
            return CaseFold::equal(other.term, item.term) && CaseFold::equal(other.heardAs, item.heardAs);
        });
        // A heard form holding "->" or starting with "#", or a line break, would read back as
        // another entry, a comment or two lines.
        if (duplicate || !DictionaryLines::writable(item))
            continue;
        known.append(item);
        added.append(item);
    }
    if (added.isEmpty())
        return std::nullopt;

    // The newest entry first, as the list reads top down.
    QList<DictionaryItem> newestFirst(added.crbegin(), added.crend());
    return Merge{.dictionary = DictionaryLines(dictionary).added(newestFirst, true), .added = added};
}

QString LearnedEntries::summary(const QList<DictionaryItem>& added)
{
    QStringList parts;
    for (const DictionaryItem& item : added.first(std::min<qsizetype>(added.size(), 3)))
        parts.append(item.heardAs.isEmpty() ? item.term
                                            : item.heardAs + QStringLiteral(" \u2192 ") + item.term);
    return parts.join(QStringLiteral(", "));
}
