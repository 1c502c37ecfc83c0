#include "temp_support_dir.h"
#include "test_text.h"

#include "core/base/support_paths.h"
#include "core/storage/history_store.h"

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
