#pragma once

#include "core/model/dictionary_lines.h"

#include <QList>
#include <QString>

#include <vector>

// The dictionary page's filter: the entries whose term or heard form holds the query, ignoring
// case. The lower-cased fields are worked out when the dictionary changes, not per keystroke.
class DictionarySearch final {
public:
    void setEntries(const QList<DictionaryLines::Entry>& entries);
    // Places of the matching entries in line order; a query of blanks matches all.
    QList<int> matches(const QString& query) const;

private:
    struct Folded {
        QString term;
        QString heardAs;
    };

    std::vector<Folded> m_entries;
};
