#include "dictation/learn/learned_entries.h"

#include "dictation/learn/case_fold.h"

#include <algorithm>

namespace {

// The line breaks the dictionary's parser splits at.
bool isLineBreak(QChar c)
{
    return c == u'\n' || c == u'\r' || c == u'\x0B' || c == u'\x0C' || c == u'\x85' || c == u'\x2028' ||
           c == u'\x2029';
}

// Where the first line that is neither blank nor a comment starts.
std::optional<qsizetype> firstEntryLine(const QString& text)
{
    qsizetype start = 0;
    while (start < text.size()) {
        qsizetype end = start;
        while (end < text.size() && !isLineBreak(text.at(end)))
            ++end;
        const QString line = text.sliced(start, end - start).trimmed();
        if (!line.isEmpty() && !line.startsWith(u'#'))
            return start;
        start = end + 1;
    }
    return std::nullopt;
}

QString lineOf(const DictionaryItem& item)
{
    return DictionaryItem::serialize({item});
}

// Only an entry whose line reads back as the same entry may be written: a heard form holding "->"
// or starting with "#", or a line break, would turn into another entry, a comment or two lines.
bool writable(const DictionaryItem& item)
{
    const QList<DictionaryItem> back = DictionaryItem::parse(lineOf(item));
    return !item.term.isEmpty() && back.size() == 1 && back.first().term == item.term &&
           back.first().heardAs == item.heardAs;
}

} // namespace

std::optional<LearnedEntries::Merge> LearnedEntries::applyLearned(const QString& dictionary,
                                                                  const QList<DictionaryItem>& learned)
{
    QList<DictionaryItem> known = DictionaryItem::parse(dictionary);
    QList<DictionaryItem> added;
    for (const DictionaryItem& item : learned) {
        const bool duplicate = std::any_of(known.begin(), known.end(), [&item](const DictionaryItem& other) {
            return CaseFold::equal(other.term, item.term) && CaseFold::equal(other.heardAs, item.heardAs);
        });
        if (duplicate || !writable(item))
            continue;
        known.append(item);
        added.append(item);
    }
    if (added.isEmpty())
        return std::nullopt;

    // The newest entry first, as the list reads top down; the lines go in before the first entry,
    // so a heading of comments stays on top.
    const QString lineBreak = dictionary.contains(u"\r\n") ? QStringLiteral("\r\n") : QStringLiteral("\n");
    QStringList lines;
    for (auto item = added.crbegin(); item != added.crend(); ++item)
        lines.append(lineOf(*item));
    const QString block = lines.join(lineBreak);

    QString text = dictionary;
    if (const std::optional<qsizetype> at = firstEntryLine(dictionary))
        text.insert(*at, block + lineBreak);
    else if (dictionary.isEmpty())
        text = block;
    else if (isLineBreak(dictionary.back()))
        text.append(block + lineBreak);
    else
        text.append(lineBreak + block);
    return Merge{.dictionary = text, .added = added};
}

QString LearnedEntries::summary(const QList<DictionaryItem>& added)
{
    QStringList parts;
    for (const DictionaryItem& item : added.first(std::min<qsizetype>(added.size(), 3)))
        parts.append(item.heardAs.isEmpty() ? item.term
                                            : item.heardAs + QStringLiteral(" \u2192 ") + item.term);
    return parts.join(QStringLiteral(", "));
}
