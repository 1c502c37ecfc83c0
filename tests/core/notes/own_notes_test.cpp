#include "temp_support_dir.h"
#include "test_text.h"

#include "core/notes/notes_write_behind.h"
#include "core/notes/own_notes.h"
#include "core/storage/note_store.h"
#include "core/storage/state_files.h"
#include "platform/fake/manual_clock.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSignalSpy>

#include <functional>
#include <future>

namespace {

class OwnNotesTest : public TempSupportDir {
protected:
    QString notesFile() const { return supportFile(s("notes.json")); }
    QStringList titles(const OwnNotes& notes) const
    {
        QStringList out;
        for (const QuendaNote& note : notes.notes())
            out << note.title;
        return out;
    }

    ManualClock m_clock;
    SupportFolderFiles m_files;
};

// The notes page edits and deletes through these; a change only in memory is lost at quit.
TEST_F(OwnNotesTest, DeletingOrEditingANoteIsWrittenToDisk)
{
    struct Case {
        const char* name;
        std::function<void(OwnNotes&, const QUuid& older)> change;
        QStringList titles; // newest first, after the change
    };
    // clang-format off
    const QList<Case> cases{
        {.name = "delete", .change = [](OwnNotes& notes, const QUuid& older) { notes.remove(older); }, .titles = {s("newer")}},
        {.name = "edit", .change = [](OwnNotes& notes, const QUuid& older) { notes.update(older, s("edited"), s("edited body")); }, .titles = {s("newer"), s("edited")}},
    };
    // clang-format on
    for (const Case& c : cases) {
        QFile::remove(notesFile());
        OwnNotes notes(m_files, m_clock);
        const QUuid older = *notes.add(s("first body"), s("older"));
        notes.add(s("second body"), s("newer"));
        c.change(notes, older);
        notes.flush();
        EXPECT_EQ(titles(notes), c.titles) << c.name;
        EXPECT_EQ(NoteStore::load(), notes.notes()) << c.name;
        EXPECT_EQ(OwnNotes(m_files, m_clock).notes(), notes.notes()) << c.name;
    }
}

TEST_F(OwnNotesTest, AnEditMovesTheUpdatedDateAndAnIdenticalOneWritesNothing)
{
    struct Case {
        const char* name;
        bool sameNote; // false: an id no note has
        const char* title;
        const char* body;
        bool written;
    };
    const QList<Case> cases{
        {.name = "new title", .sameNote = true, .title = "changed", .body = "body", .written = true},
        {.name = "new body", .sameNote = true, .title = "title", .body = "changed", .written = true},
        {.name = "identical", .sameNote = true, .title = "title", .body = "body", .written = false},
        {.name = "unknown note", .sameNote = false, .title = "changed", .body = "body", .written = false},
    };
    // Whatever the store would write differs from this, so any write replaces it.
    const QByteArray untouched = "not written since";
    for (const Case& c : cases) {
        QFile::remove(notesFile());
        OwnNotes notes(m_files, m_clock);
        const QUuid id = *notes.add(s("body"), s("title"));
        const QDateTime created = m_clock.now();
        m_clock.advance(60'000);
        writeAll(notesFile(), untouched);
        QSignalSpy changed(&notes, &OwnNotes::changed);
        notes.update(c.sameNote ? id : QUuid::createUuid(), s(c.title), s(c.body));
        notes.flush();
        const QuendaNote& note = notes.notes().front();
        EXPECT_EQ(note.created, created) << c.name;
        EXPECT_EQ(note.updated, c.written ? created.addSecs(60) : created) << c.name;
        EXPECT_EQ(changed.count(), c.written ? 1 : 0) << c.name;
        EXPECT_EQ(readAll(notesFile()) == untouched, !c.written) << c.name;
        if (c.written) {
            EXPECT_EQ(NoteStore::load(), notes.notes()) << c.name;
        }
    }
}

// Captured text of only spaces and line breaks would stand in the list as an empty note.
TEST_F(OwnNotesTest, AddingKeepsATrimmedBodyAndNoBlankNote)
{
    struct Case {
        const char* body;
        const char* title;
        const char* kept; // "title|body", "-" for none
    };
    const QList<Case> cases{
        {.body = " \n\t \n", .title = "Shop", .kept = "-"},
        {.body = "  milk \n", .title = "", .kept = "milk|milk"},
        {.body = "milk", .title = " Shop ", .kept = "Shop|milk"},
    };
    for (const Case& c : cases) {
        QFile::remove(notesFile());
        OwnNotes notes(m_files, m_clock);
        const auto id = notes.add(s(c.body), s(c.title));
        notes.flush();
        QStringList kept;
        for (const QuendaNote& note : NoteStore::load())
            kept << note.title + QLatin1Char('|') + note.body;
        EXPECT_EQ(id.has_value(), !kept.isEmpty()) << c.body;
        EXPECT_EQ(kept.join(QLatin1Char(' ')), s(c.kept) == s("-") ? QString() : s(c.kept)) << c.body;
    }
}

// Whoever changes the list next asks whether the file holds it: a new note reports "saved" only
// then. Only an edit, one a keystroke, is written behind.
TEST_F(OwnNotesTest, EveryChangeButAnEditWaitsForItsWrite)
{
    struct Case {
        const char* name;
        std::function<void(OwnNotes&, const QUuid& id)> change;
        bool waits;
    };
    // clang-format off
    const QList<Case> cases{
        {.name = "add",    .change = [](OwnNotes& notes, const QUuid&) { notes.add(s("more")); },              .waits = true},
        {.name = "create", .change = [](OwnNotes& notes, const QUuid&) { notes.create(); },                    .waits = true},
        {.name = "delete", .change = [](OwnNotes& notes, const QUuid& id) { notes.remove(id); },               .waits = true},
        {.name = "edit",   .change = [](OwnNotes& notes, const QUuid& id) { notes.update(id, s("t"), s("x")); }, .waits = false},
    };
    // clang-format on
    for (const Case& c : cases) {
        QDir(notesFile()).removeRecursively();
        QFile::remove(notesFile());
        OwnNotes notes(m_files, m_clock);
        const QUuid id = *notes.add(s("body"), s("title"));
        QFile::remove(notesFile());
        ASSERT_TRUE(QDir().mkpath(notesFile())) << c.name; // a folder in its place: every write fails
        c.change(notes, id);
        EXPECT_EQ(notes.unsaved(), c.waits) << c.name; // no event has run: only a wait knows
        notes.flush();
        EXPECT_TRUE(notes.unsaved()) << c.name;
    }
    QDir(notesFile()).removeRecursively();
}

TEST_F(OwnNotesTest, AnEditOnItsWayToDiskIsWrittenWhenTheStoreEndsRightAfterIt)
{
    QUuid id;
    {
        OwnNotes notes(m_files, m_clock);
        id = *notes.add(s("body"), s("title"));
        notes.update(id, s("title"), s("body and the last keystroke"));
    }
    const QList<QuendaNote> stored = NoteStore::load();
    ASSERT_EQ(stored.size(), 1);
    EXPECT_EQ(stored.first().body, s("body and the last keystroke"));
}

TEST_F(OwnNotesTest, WhileOneListIsWrittenOnlyTheNewestWaitingOneFollowsAndFlushWaitsForIt)
{
    const auto list = [](const char* title) { return QList<QuendaNote>{{QUuid(), {}, {}, s(title), {}}}; };
    std::promise<void> started;
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    QStringList written;
    QObject context;
    int outcomes = 0;
    NotesWriteBehind writer(
        [&](const QList<QuendaNote>& notes) {
            if (written.isEmpty()) {
                started.set_value();
                released.wait();
            }
            written << notes.first().title;
            return notes.first().title != s("fails");
        },
        &context, [&] { ++outcomes; });
    writer.post(list("first"));
    started.get_future().wait(); // the worker is inside the first write
    writer.post(list("second"));
    writer.post(list("fails"));
    release.set_value();
    EXPECT_FALSE(writer.flush());
    EXPECT_EQ(written, QStringList({s("first"), s("fails")}));
    writer.post(list("third"));
    EXPECT_TRUE(writer.flush());
    QCoreApplication::processEvents();
    EXPECT_EQ(outcomes, 3); // one report per write, on the context's thread
}

} // namespace
