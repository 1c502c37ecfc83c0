#pragma once

#include <QList>
#include <QString>
#include <QUuid>

// One correction of the dictionary: the written term and the form the engine hears it in.
// The dictionary lives as text, one entry per line: "heard -> term" or the term alone.
struct DictionaryItem {
    QUuid id; // fresh for every item made; never persisted
    QString term;
    QString heardAs; // empty for a bare term

    // Lines starting with "#" and blank lines are skipped; items keep line order.
    static QList<DictionaryItem> parse(const QString& text);
    static QString serialize(const QList<DictionaryItem>& items);

    friend bool operator==(const DictionaryItem&, const DictionaryItem&) = default;
};
