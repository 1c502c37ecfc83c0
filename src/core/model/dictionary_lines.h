#pragma once

#include "core/model/dictionary_item.h"

#include <QLatin1String>
#include <QList>
#include <QString>

// The dictionary text as its lines, for changes that touch only the lines they are about: the
// comments, blank lines and line breaks a user wrote stay as they were.
class DictionaryLines final {
public:
    // The comment line the learner writes above each entry it adds. It travels with the entry in
    // the configuration, so the entry still shows as learned after a restart; editing or removing
    // the entry takes the mark away with it.
    static constexpr QLatin1String learnedMark{"# learned"};

    struct Entry {
        DictionaryItem item;
        bool learned = false;
    };

    explicit DictionaryLines(const QString& text);

    // The entries in line order, the same as DictionaryItem::parse of the text.
    const QList<Entry>& entries() const { return m_entries; }

    // The text with the items as lines before the first entry (a heading of comments stays on
    // top), in the given order, each under the learned mark when learned.
    QString added(const QList<DictionaryItem>& items, bool learned = false) const;
    // The text with the entry's line written anew; an edited entry is no longer learned.
    QString replaced(qsizetype entry, const DictionaryItem& item) const;
    // The text without the entry's line and its learned mark.
    QString removed(qsizetype entry) const;

    // The item's line reads back as the same item: no line break, no "->" in its heard form, no
    // line that would be a comment, a term that is not empty.
    static bool writable(const DictionaryItem& item);

private:
    struct Line {
        QString text;
        QString end; // the line break after it, empty for the last line
    };

    static QString joined(const QList<Line>& lines);
    // Where the entry's lines start: its learned mark, or the entry's own line.
    qsizetype firstLineOf(qsizetype entry) const;

    QList<Line> m_lines;
    QList<Entry> m_entries;
    QList<qsizetype> m_entryLines; // the line of each entry
    QString m_break;               // what new lines end with: the text's own kind
};
