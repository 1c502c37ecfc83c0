#include "temp_support_dir.h"
#include "test_text.h"

#include "core/base/support_paths.h"
#include "core/storage/history_store.h"
#include "core/storage/json_list_store.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>

namespace {

HistoryEntry entry(const char* text, const char* date)
{
    return {
        QUuid::createUuid(), QDateTime::fromString(s(date), Qt::ISODate), s(text), s(text), {}, {}, {}, {}};
}

} // namespace

TEST_F(TempSupportDir, HistoryRoundTripsNewestFirstWithWholeSeconds)
{
    QList<HistoryEntry> entries{entry("new", "2025-03-02T10:00:00Z"), entry("old", "2025-03-01T08:15:00Z")};
    entries[0].date = entries[0].date.addMSecs(400);
    entries[1].kind = HistoryEntry::clipboardKind;
    ASSERT_TRUE(HistoryStore::save(entries));
    const auto loaded = HistoryStore::load();
    ASSERT_EQ(loaded.size(), 2);
    EXPECT_EQ(loaded[0].text, s("new"));
    EXPECT_EQ(loaded[0].date, QDateTime::fromString(s("2025-03-02T10:00:00Z"), Qt::ISODate));
    EXPECT_EQ(loaded[1], entries[1]);

    ASSERT_TRUE(HistoryStore::save({}));
    EXPECT_TRUE(QJsonDocument::fromJson(readAll(supportFile(s("history.json")))).array().isEmpty());
}

TEST_F(TempSupportDir, SavingAfterASmallChangeEncodesOnlyWhatChangedWithTheSameBytes)
{
    QList<HistoryEntry> entries;
    for (int i = 0; i < 5; ++i)
        entries << entry("old \"quoted\"\n", "2025-03-01T08:15:00Z");
    entries[1].app = s("Mail");
    entries[2].kind = HistoryEntry::clipboardKind;
    entries[3].wasCommand = true;
    entries[4].duration = 2.5;
    EncodedList<HistoryEntry> encoded;
    const auto edited = [&](QList<HistoryEntry> list) {
        list[2].text = s("edited");
        return list;
    };
    struct Row {
        const char* change;
        QList<HistoryEntry> list;
        int encodedAfresh;
    };
    // clang-format off
    const QList<Row> rows{
        {.change = "first save",    .list = entries,                                               .encodedAfresh = 5},
        {.change = "unchanged",     .list = entries,                                               .encodedAfresh = 0},
        {.change = "one arrives",   .list = QList{entry("new", "2025-03-02T10:00:00Z")} + entries, .encodedAfresh = 1},
        {.change = "it is removed", .list = entries,                                               .encodedAfresh = 0},
        {.change = "one edited",    .list = edited(entries),                                       .encodedAfresh = 1},
        {.change = "all removed",   .list = {},                                                    .encodedAfresh = 0},
    };
    // clang-format on
    for (const Row& row : rows) {
        SCOPED_TRACE(row.change);
        EXPECT_EQ(encoded.encode(row.list), JsonListStore<HistoryEntry>::encode(row.list));
        EXPECT_EQ(encoded.encodedLastTime(), row.encodedAfresh);
    }
}
