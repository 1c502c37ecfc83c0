#include "ui/pages/history/history_search.h"

#include <algorithm>

namespace {

bool isTrimmed(QChar c)
{
    return c == QLatin1Char('\t') || c.category() == QChar::Separator_Space;
}

} // namespace

QString HistorySearch::normalised(const QString& query)
{
    qsizetype start = 0;
    qsizetype end = query.size();
    while (start < end && isTrimmed(query.at(start)))
        ++start;
    while (end > start && isTrimmed(query.at(end - 1)))
        --end;
    return query.mid(start, end - start).toLower();
}

void HistorySearch::setHistory(const QList<HistoryEntry>& history)
{
    QHash<QUuid, qsizetype> known;
    known.reserve(qsizetype(m_entries.size()));
    for (size_t i = 0; i < m_entries.size(); ++i)
        known.insert(m_entries[i].id, qsizetype(i));
    std::vector<Folded> next;
    next.reserve(size_t(history.size()));
    for (const HistoryEntry& entry : history) {
        const auto old = known.constFind(entry.id);
        if (old != known.cend()) {
            Folded& kept = m_entries[size_t(*old)];
            if (kept.date == entry.date && kept.text == entry.text && kept.raw == entry.raw &&
                kept.app == entry.app.value_or(QString())) {
                next.push_back(std::move(kept));
                known.erase(old); // a repeated id is worked out again
                continue;
            }
        }
        Folded folded;
        folded.id = entry.id;
        folded.date = entry.date;
        folded.text = entry.text;
        folded.raw = entry.raw;
        folded.app = entry.app.value_or(QString());
        folded.day = entry.date.toLocalTime().date();
        folded.foldedText = entry.text.toLower();
        if (entry.raw != entry.text)
            folded.foldedRaw = entry.raw.toLower();
        folded.foldedApp = folded.app.toLower();
        next.push_back(std::move(folded));
    }
    m_entries = std::move(next);
}

bool HistorySearch::matches(const Folded& entry, const QString& q) const
{
    return entry.foldedText.contains(q) || entry.foldedRaw.contains(q) || entry.foldedApp.contains(q);
}

QList<HistorySearch::Group> HistorySearch::groups(const QString& query) const
{
    const QString q = normalised(query);
    QList<Group> groups;
    QHash<QDate, qsizetype> byDay;
    for (size_t i = 0; i < m_entries.size(); ++i) {
        const Folded& entry = m_entries[i];
        if (!q.isEmpty() && !matches(entry, q))
            continue;
        // The history is mostly newest first, so the day is most often the last group's.
        if (groups.isEmpty() || groups.last().day != entry.day) {
            const auto found = byDay.constFind(entry.day);
            if (found == byDay.cend()) {
                byDay.insert(entry.day, groups.size());
                groups.append({entry.day, {}});
            } else {
                groups[*found].entries.append(int(i));
                continue;
            }
        }
        groups.last().entries.append(int(i));
    }
    std::stable_sort(groups.begin(), groups.end(),
                     [](const Group& a, const Group& b) { return a.day > b.day; });
    return groups;
}

QStringList HistorySearch::rowKeys(const QList<HistoryEntry>& history, const QList<int>& places,
                                   QHash<QString, int>& byKey)
{
    QStringList keys;
    keys.reserve(places.size());
    for (const int place : places) {
        const QString id = history.at(place).id.toString(QUuid::WithoutBraces);
        QString key = id;
        for (int n = 2; byKey.contains(key); ++n)
            key = id + QLatin1Char('#') + QString::number(n);
        byKey.insert(key, place);
        keys << key;
    }
    return keys;
}
