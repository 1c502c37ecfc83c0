#include "temp_support_dir.h"

#include "core/note_store.h"
#include "core/run_mode.h"
#include "core/timing.h"

#include <QDir>

#include <gtest/gtest.h>

namespace {

QuendaNote note(const char* title, const char* body)
{
    const QDateTime at(QDate(2025, 3, 1), QTime(9, 0), Qt::UTC);
    return {QUuid::createUuid(), at, at.addSecs(60), QString::fromUtf8(title), QString::fromUtf8(body)};
}

class NoteStoreTest : public TempSupportDir {
protected:
    QString notesFile() const { return supportFile(QStringLiteral("notes.json")); }
    QString timingLog()
    {
        Timing::flush();
        return QString::fromUtf8(readAll(supportFile(QStringLiteral("timing.log"))));
    }
};

} // namespace

TEST_F(NoteStoreTest, SavedListLoadsBackInOrderWithSortedKeys)
{
    const QList<QuendaNote> notes{note("newer", "b \"1\""), note("", "")};
    ASSERT_TRUE(NoteStore::save(notes));
    EXPECT_EQ(NoteStore::load(), notes);
    const QString text = QString::fromUtf8(readAll(notesFile()));
    EXPECT_LT(text.indexOf(QStringLiteral("\"body\"")), text.indexOf(QStringLiteral("\"created\"")));
    EXPECT_LT(text.indexOf(QStringLiteral("\"title\"")), text.indexOf(QStringLiteral("\"updated\"")));
}

// One bad note made the whole file unreadable, and the next save used to erase every note.
TEST_F(NoteStoreTest, UndecodableFileIsKeptAsideBeforeTheNextSave)
{
    const QByteArray lacksUpdated = R"([{"id":"6F9619FF-8B86-D011-B42D-00C04FC964FF",)"
                                    R"("created":"2025-03-01T09:00:00Z","title":"kept","body":"precious"}])";
    writeAll(notesFile(), lacksUpdated);
    EXPECT_TRUE(NoteStore::load().isEmpty());

    const QuendaNote fresh = note("new", "note");
    ASSERT_TRUE(NoteStore::save({fresh}));
    const QDir folder = QFileInfo(notesFile()).dir();
    const QStringList aside = folder.entryList({QStringLiteral("notes.json.corrupt-*")}, QDir::Files);
    ASSERT_EQ(aside.size(), 1);
    EXPECT_EQ(readAll(folder.filePath(aside.first())), lacksUpdated);
    EXPECT_EQ(NoteStore::load(), QList<QuendaNote>{fresh});
}

TEST_F(NoteStoreTest, SnapshotModeNeitherReadsNorWrites)
{
    ASSERT_TRUE(NoteStore::save({note("disk", "x")}));
    const QByteArray before = readAll(notesFile());
    RunMode::setSnapshot(true);
    EXPECT_TRUE(NoteStore::load().isEmpty());
    EXPECT_FALSE(NoteStore::save({note("snapshot", "y")}));
    EXPECT_EQ(readAll(notesFile()), before);
}

// A note without a valid date would write a file that can never be read back.
TEST_F(NoteStoreTest, EncodeFailureIsLoggedAndLeavesTheFile)
{
    ASSERT_TRUE(NoteStore::save({note("disk", "x")}));
    const QByteArray before = readAll(notesFile());
    QuendaNote undated = note("bad", "y");
    undated.created = QDateTime();
    EXPECT_FALSE(NoteStore::save({undated}));
    EXPECT_EQ(readAll(notesFile()), before);
    EXPECT_TRUE(timingLog().contains(QStringLiteral("note file encode failed")));
}

TEST_F(NoteStoreTest, WriteFailureIsLogged)
{
    ASSERT_TRUE(QDir().mkpath(notesFile())); // a folder where the file should be
    EXPECT_FALSE(NoteStore::save({note("t", "b")}));
    EXPECT_TRUE(timingLog().contains(QStringLiteral("note file write failed")));
}
