#pragma once

#include "core/model/history_entry.h"

#include <QDate>
#include <QHash>
#include <QList>
#include <QString>
#include <QUuid>

#include <vector>

// The history page's list: the entries that match a query, grouped by local calendar day, newest
// day first, each day's entries in history order. What it works out per entry (the local day,
// the lower-cased texts) is kept by id, so a new history costs only its new entries' work.
class HistorySearch final {
public:
    struct Group {
        QDate day;
        QList<int> entries; // places in the history

        friend bool operator==(const Group&, const Group&) = default;
    };

    void setHistory(const QList<HistoryEntry>& history);
    QList<Group> groups(const QString& query) const;

    // Keys for the rows of the entries at places in history: their ids, numbered where an id
    // repeats, so no entry loses its row. byKey gets each key's place.
    static QStringList rowKeys(const QList<HistoryEntry>& history, const QList<int>& places,
                               QHash<QString, int>& byKey);
    // Trimmed of spaces and tabs (not of line breaks) and lower-cased; empty matches everything.
    static QString normalised(const QString& query);

private:
    struct Folded {
        QUuid id;
        QDateTime date;
        QString text; // the entry's, kept to tell a changed entry from a known one
        QString raw;
        QString app;
        QDate day;
        QString foldedText;
        QString foldedRaw; // empty when the raw text is the text
        QString foldedApp;
    };

    bool matches(const Folded& entry, const QString& q) const;

    std::vector<Folded> m_entries;
};
