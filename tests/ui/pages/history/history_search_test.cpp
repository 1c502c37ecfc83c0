#include "ui/pages/history/history_search.h"

#include <QSet>

#include <gtest/gtest.h>

namespace {

HistoryEntry at(const char* text, const char* raw, std::optional<QString> app, QDate day, QTime time)
{
    const QString final = QString::fromUtf8(text);
    return {QUuid::createUuid(),
            QDateTime(day, time),
            *raw ? QString::fromUtf8(raw) : final,
            final,
            std::nullopt,
            std::move(app),
            std::nullopt,
            std::nullopt};
}

// Each group as "day: text | text".
QStringList shown(const HistorySearch& search, const QList<HistoryEntry>& history, const QString& query)
{
    QStringList lines;
    for (const HistorySearch::Group& group : search.groups(query)) {
        QStringList texts;
        for (const int place : group.entries)
            texts << history.at(place).text;
        lines << group.day.toString(Qt::ISODate) + QStringLiteral(": ") + texts.join(QStringLiteral(" | "));
    }
    return lines;
}

TEST(HistorySearch, GroupsMatchesByLocalDayNewestFirstAfterTheQueryRule)
{
    const QDate d12(2026, 3, 12);
    // Not sorted: a hand-edited file, the newest day last.
    const QList<HistoryEntry> history{
        at("Meet at Noon", "", QStringLiteral("Mail"), d12, QTime(23, 59)),
        at("Buy milk", "buy milk please", QStringLiteral("Notes"), d12, QTime(0, 1)),
        at("Ship it", "", QStringLiteral("Slack"), d12.addDays(-1), QTime(23, 59)),
        at("Call Anna", "ruf anna an", std::nullopt, d12.addDays(1), QTime(8, 0)),
        at("Late lunch", "", std::nullopt, d12, QTime(13, 0)), // its day's card is made already
    };
    const QString all13 = QStringLiteral("2026-03-13: Call Anna");
    const QString all12 = QStringLiteral("2026-03-12: Meet at Noon | Buy milk | Late lunch");
    const QString all11 = QStringLiteral("2026-03-11: Ship it");
    struct Row {
        const char* name;
        QString query;
        QStringList groups;
    };
    // clang-format off
    const Row rows[] = {
        {.name = "empty: everything",                .query = {},                          .groups = {all13, all12, all11}},
        {.name = "spaces only: everything",          .query = QStringLiteral("   "),       .groups = {all13, all12, all11}},
        {.name = "trimmed, any case",                .query = QStringLiteral("\tMILK "),   .groups = {QStringLiteral("2026-03-12: Buy milk")}},
        {.name = "no-break space is trimmed",        .query = QStringLiteral("\u00a0noon"), .groups = {QStringLiteral("2026-03-12: Meet at Noon")}},
        {.name = "only the raw transcript",          .query = QStringLiteral("please"),    .groups = {QStringLiteral("2026-03-12: Buy milk")}},
        {.name = "only the application",             .query = QStringLiteral("SLACK"),     .groups = {all11}},
        {.name = "raw of another language",          .query = QStringLiteral("ruf"),       .groups = {all13}},
        {.name = "line breaks are not trimmed",      .query = QStringLiteral("\nmilk"),    .groups = {}},
        {.name = "nothing matches",                  .query = QStringLiteral("zebra"),     .groups = {}},
        {.name = "a shared letter, order kept",      .query = QStringLiteral("n"),         .groups = {all13, all12}},
    };
    // clang-format on
    HistorySearch search;
    search.setHistory(history);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(shown(search, history, row.query), row.groups);
    }
}

TEST(HistorySearch, AKnownEntryIsNotWorkedOutAgainButAChangedOneIs)
{
    const QDate day(2026, 3, 12);
    QList<HistoryEntry> history{at("first", "", std::nullopt, day, QTime(9, 0))};
    HistorySearch search;
    search.setHistory(history);
    history[0].text = history[0].raw = QStringLiteral("edited");
    history.prepend(at("second", "", std::nullopt, day, QTime(10, 0)));
    search.setHistory(history);
    EXPECT_EQ(search.groups(QStringLiteral("edited")).size(), 1);
    EXPECT_TRUE(search.groups(QStringLiteral("first")).isEmpty());
}

TEST(HistorySearch, ARepeatedIdGetsARowKeyOfItsOwn)
{
    const HistoryEntry one = at("one", "", std::nullopt, QDate(2026, 3, 12), QTime(9, 0));
    HistoryEntry two = one;
    two.text = QStringLiteral("two");
    QHash<QString, int> byKey;
    const QStringList keys = HistorySearch::rowKeys({one, two, one}, {0, 1, 2}, byKey);
    EXPECT_EQ(QSet<QString>(keys.begin(), keys.end()).size(), 3);
    EXPECT_EQ(byKey.value(keys.at(1)), 1);
}

} // namespace
