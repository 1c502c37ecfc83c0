#include "temp_support_dir.h"
#include "test_text.h"

#include "core/model/quenda_note.h"
#include "core/storage/note_store.h"

#include <QDir>

#include <gtest/gtest.h>

namespace {

TEST(QuendaNote, TitleIsTheFirstNonEmptyLineCutByGraphemeClusters)
{
    const QString ellipsis = s("\u2026");
    const QString a80(80, u'a');
    const QString eAcute = s("e\u0301"); // two code units, one grapheme cluster
    const QString thumbsUp = s("\U0001F44D");
    const std::vector<std::pair<QString, QString>> cases{
        {s("\n\r\n\n"), {}},
        {s("\n\r\n  first  \nsecond"), s("first")},
        // A first non-empty line of spaces ends the search; the later text is not used.
        {s("   \ntext"), {}},
        {s("\u2028\u0085\fone\ftwo"), s("one")},
        {a80 + u'a', a80 + ellipsis},
        {eAcute.repeated(80), eAcute.repeated(80)},
        {eAcute.repeated(81), eAcute.repeated(80) + ellipsis},
        {thumbsUp.repeated(81), thumbsUp.repeated(80) + ellipsis},
    };
    for (const auto& [text, title] : cases)
        EXPECT_EQ(QuendaNote::derivedTitle(text), title) << qPrintable(text);

    QuendaNote note{QUuid::createUuid(), {}, {}, s("  word  "), s("body line")};
    EXPECT_EQ(note.listTitle(), s("word"));
    note.title = s(" \n ");
    EXPECT_EQ(note.listTitle(), s("body line"));
}

TEST(QuendaNote, DecodingRequiresEveryKeyWithItsType)
{
    const QDateTime at(QDate(2025, 3, 1), QTime(8, 15, 30), Qt::UTC);
    const QuendaNote note{QUuid::createUuid(), at, at.addSecs(90), s("t \"q\""), s("b")};
    const QJsonObject good = *note.toJson();
    ASSERT_TRUE(QuendaNote::fromJson(good));
    for (const char* key : {"id", "created", "updated", "title", "body"}) {
        QJsonObject broken = good;
        broken.remove(s(key));
        EXPECT_FALSE(QuendaNote::fromJson(broken)) << key;
        broken.insert(s(key), 42);
        EXPECT_FALSE(QuendaNote::fromJson(broken)) << key;
    }
}

QuendaNote note(const char* title)
{
    const QDateTime at(QDate(2025, 3, 1), QTime(9, 0), Qt::UTC);
    return {QUuid::createUuid(), at, at.addSecs(60), s(title), s("b \"1\"")};
}

class NoteStoreTest : public TempSupportDir {
protected:
    QString notesFile() const { return supportFile(QStringLiteral("notes.json")); }
};

// One bad note made the whole file unreadable, and the next save used to erase every note.
TEST_F(NoteStoreTest, UndecodableFileIsKeptAsideBeforeTheNextSave)
{
    const QByteArray lacksUpdated = R"([{"id":"6F9619FF-8B86-D011-B42D-00C04FC964FF",)"
                                    R"("created":"2025-03-01T09:00:00Z","title":"kept","body":"precious"}])";
    writeAll(notesFile(), lacksUpdated);
    EXPECT_TRUE(NoteStore::load().isEmpty());

    const QList<QuendaNote> fresh{note("new"), note("")};
    ASSERT_TRUE(NoteStore::save(fresh));
    const QStringList aside = keptAside(s("notes.json"));
    ASSERT_EQ(aside.size(), 1);
    EXPECT_EQ(readAll(supportFile(aside.first())), lacksUpdated);
    EXPECT_EQ(NoteStore::load(), fresh);
}

// Failures are logged and leave the file as it was.
TEST_F(NoteStoreTest, FailedSavesLeaveTheFile)
{
    ASSERT_TRUE(NoteStore::save({note("disk")}));
    const QByteArray before = readAll(notesFile());
    QuendaNote undated = note("bad"); // could never be read back
    undated.created = QDateTime();
    EXPECT_FALSE(NoteStore::save({undated}));
    EXPECT_EQ(readAll(notesFile()), before);

    QFile::remove(notesFile());
    ASSERT_TRUE(QDir().mkpath(notesFile())); // a folder where the file should be
    EXPECT_FALSE(NoteStore::save({note("t")}));
    const QString log = logged();
    EXPECT_TRUE(log.contains(QStringLiteral("note file encode failed")));
    EXPECT_TRUE(log.contains(QStringLiteral("note file write failed")));
}

} // namespace
