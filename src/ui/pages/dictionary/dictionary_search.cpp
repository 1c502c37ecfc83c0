#include "ui/pages/dictionary/dictionary_search.h"

#include "ui/pages/history/history_search.h"

void DictionarySearch::setEntries(const QList<DictionaryLines::Entry>& entries)
{
    m_entries.clear();
    m_entries.reserve(size_t(entries.size()));
    for (const DictionaryLines::Entry& entry : entries)
        m_entries.push_back({entry.item.term.toLower(), entry.item.heardAs.toLower()});
}

QList<int> DictionarySearch::matches(const QString& query) const
{
    // Trimmed and lower-cased as the history page does, so both searches behave alike.
    const QString q = HistorySearch::normalised(query);
    QList<int> places;
    places.reserve(qsizetype(m_entries.size()));
    for (size_t i = 0; i < m_entries.size(); ++i) {
        if (q.isEmpty() || m_entries[i].term.contains(q) || m_entries[i].heardAs.contains(q))
            places.append(int(i));
    }
    return places;
}
