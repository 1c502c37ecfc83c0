#include "notes_fixture.h"

#include "ui/kit/kit_label.h"
#include "ui/kit/search_field.h"
#include "ui/kit/soft_button.h"
#include "ui/pages/notes/note_list_model.h"
#include "ui/pages/notes/note_selection.h"
#include "ui/pages/notes/notes_page.h"

#include <QLineEdit>
#include <QListView>
#include <QPlainTextEdit>
#include <QTest>

#include <gtest/gtest.h>

namespace {

class NotesPageTest : public NotesFixture {
protected:
    // One step of a user or of the rest of the program, as the rows below write them.
    void run(NotesPage& page, const QString& step)
    {
        const QString verb = step.section(QLatin1Char(':'), 0, 0);
        const QString arg = step.section(QLatin1Char(':'), 1);
        if (verb == s("appear"))
            page.show();
        else if (verb == s("open"))
            notesState().setNoteToOpen(idOf(arg));
        else if (verb == s("click"))
            click(page, idOf(arg));
        else if (verb == s("type"))
            QTest::keyClicks(page.bodyEditor(), arg);
        else if (verb == s("title"))
            QTest::keyClicks(page.titleEditor(), arg);
        else if (verb == s("tab"))
            QTest::keyClick(page.bodyEditor(), Qt::Key_Tab);
        else if (verb == s("new"))
            page.newButton()->click();
        else if (verb == s("del"))
            page.deleteButton()->click();
        else if (verb == s("gone"))
            notesState().deleteNote(idOf(arg));
        else if (verb == s("add"))
            notesState().addNote(s("from elsewhere"));
        else if (verb == s("search"))
            page.search()->setText(arg);
        else if (verb == s("down") || verb == s("up"))
            QTest::keyClick(page.search()->editor(), verb == s("down") ? Qt::Key_Down : Qt::Key_Up);
        else
            ADD_FAILURE() << "unknown step " << step.toStdString();
    }

    static void click(NotesPage& page, const QUuid& id)
    {
        const QModelIndex index = page.rows().index(page.rows().rowOf(id));
        QTest::mouseClick(page.list()->viewport(), Qt::LeftButton, {},
                          page.list()->visualRect(index).center());
    }
    static QString title(NotesPage& page, const QUuid& id)
    {
        return page.rows().index(page.rows().rowOf(id)).data().toString();
    }

    // The notes file as "TITLE|body" per note, in stored order.
    QString file() const
    {
        QStringList notes;
        for (const QuendaNote& note : m_counting.notes)
            notes << note.title + QLatin1Char('|') + note.body;
        return notes.join(QLatin1Char(' '));
    }
};

TEST_F(NotesPageTest, SelectionFollowsTheUserTheRequestsAndTheListAndEveryKeystrokeIsWritten)
{
    struct Row {
        const char* name;
        const char* notes;    // letters; note x has title "X" and body "x", the first newest
        const char* steps;    // space-separated steps of run()
        const char* selected; // letter, "*" for a note made here, "-" for none
        const char* body;     // what the editor shows
        bool written;         // the notes file was written (edits in a row may share one write)
        const char* file;     // the file afterwards, "TITLE|body" per note
    };
    // clang-format off
    const Row rows[] = {
        {.name = "appear opens the first note",          .notes = "abc", .steps = "appear",                    .selected = "a", .body = "a",   .written = false, .file = "A|a B|b C|c"},
        {.name = "a request opens its note",             .notes = "abc", .steps = "open:b appear",             .selected = "b", .body = "b",   .written = false, .file = "A|a B|b C|c"},
        {.name = "a request while shown",                .notes = "abc", .steps = "appear open:c",             .selected = "c", .body = "c",   .written = false, .file = "A|a B|b C|c"},
        {.name = "a stale request opens the first note", .notes = "abc", .steps = "gone:b open:b appear",      .selected = "a", .body = "a",   .written = true , .file = "A|a C|c"},
        {.name = "a stale request while shown",          .notes = "abc", .steps = "appear click:c gone:b open:b", .selected = "a", .body = "a", .written = true , .file = "A|a C|c"},
        {.name = "a stale request and no notes",         .notes = "a",   .steps = "gone:a open:a appear",      .selected = "-", .body = "",    .written = true , .file = ""},
        {.name = "selecting writes, typing does",        .notes = "abc", .steps = "appear click:b type:x",     .selected = "b", .body = "xb",  .written = true , .file = "A|a B|xb C|c"},
        {.name = "each keystroke of the title",          .notes = "abc", .steps = "appear title:Zq",           .selected = "a", .body = "a",   .written = true , .file = "ZqA|a B|b C|c"},
        {.name = "the body keeps Tab",                   .notes = "a",   .steps = "appear tab",                .selected = "a", .body = "\ta", .written = true , .file = "A|\ta"},
        {.name = "new clears the search, opens on top",  .notes = "abc", .steps = "appear search:b new",       .selected = "*", .body = "",    .written = true , .file = "| A|a B|b C|c"},
        {.name = "a new note takes typing",              .notes = "",    .steps = "appear new type:hi",        .selected = "*", .body = "hi",  .written = true , .file = "|hi"},
        {.name = "delete opens the first other note",    .notes = "abc", .steps = "appear click:b del",        .selected = "a", .body = "a",   .written = true , .file = "A|a C|c"},
        {.name = "deleting the first opens the next",    .notes = "abc", .steps = "appear del",                .selected = "b", .body = "b",   .written = true , .file = "B|b C|c"},
        {.name = "deleting the last leaves none",        .notes = "a",   .steps = "appear del",                .selected = "-", .body = "",    .written = true , .file = ""},
        {.name = "deleted elsewhere: the first opens",   .notes = "abc", .steps = "appear click:c gone:c",     .selected = "a", .body = "a",   .written = true , .file = "A|a B|b"},
        {.name = "added elsewhere: selection stays",     .notes = "abc", .steps = "appear click:b add",        .selected = "b", .body = "b",   .written = true , .file = "from elsewhere|from elsewhere A|a B|b C|c"},
        {.name = "the first note added opens",           .notes = "",    .steps = "appear add",                .selected = "*", .body = "from elsewhere", .written = true , .file = "from elsewhere|from elsewhere"},
        {.name = "Down and Up move in the list",         .notes = "abc", .steps = "appear down down up",       .selected = "b", .body = "b",   .written = false, .file = "A|a B|b C|c"},
        {.name = "Down moves in the shown notes",        .notes = "abc", .steps = "appear search:c down",      .selected = "c", .body = "c",   .written = false, .file = "A|a B|b C|c"},
        {.name = "a hidden selection stays open",        .notes = "abc", .steps = "appear search:b type:y",    .selected = "a", .body = "ya",  .written = true , .file = "A|ya B|b C|c"},
    };
    // clang-format on
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        m_counting.notes.clear();
        m_counting.writes = 0;
        makeNotesState(QString::fromUtf8(row.notes));
        {
            NotesPage page(notesState());
            for (const QString& step : QString::fromUtf8(row.steps).split(QLatin1Char(' ')))
                run(page, step);
            notesState().flushNotes();
            EXPECT_EQ(letterOf(page.selection().selectedID()), QString::fromUtf8(row.selected));
            EXPECT_EQ(page.bodyEditor()->toPlainText(), QString::fromUtf8(row.body));
            EXPECT_EQ(page.selection().draftBody(), QString::fromUtf8(row.body));
            EXPECT_EQ(m_counting.writes > 0, row.written);
            EXPECT_EQ(file(), QString::fromUtf8(row.file));
            EXPECT_EQ(notesState().noteToOpen(), std::nullopt);
            EXPECT_EQ(page.emptyHint()->isVisible(), m_counting.notes.isEmpty());
            EXPECT_EQ(page.titleEditor()->isVisible(), page.selection().selectedID().has_value());
        }
    }
}

TEST_F(NotesPageTest, RowsShowTheListTitleOrUntitledAndSearchLooksInTitleAndBody)
{
    makeNotesState(s("ab"));
    const QUuid blank = notesState().createNote();
    const QUuid derived = *notesState().addNote(s("\n  Groceries for Sunday  \nmilk"));
    NotesPage page(notesState());
    page.show();
    EXPECT_EQ(title(page, blank), s("Untitled"));
    EXPECT_EQ(title(page, derived), s("Groceries for Sunday"));
    EXPECT_EQ(title(page, idOf(s("a"))), s("A"));

    struct Row {
        const char* query;
        const char* shown; // letters of a and b, d for the derived note, n for none
    };
    // clang-format off
    const Row rows[] = {
        {.query = "",        .shown = "dab"},
        {.query = "   ",     .shown = "dab"},
        {.query = "MILK",    .shown = "d"},
        {.query = " b ",     .shown = "b"},
        {.query = "sunday",  .shown = "d"},
        {.query = "nowhere", .shown = "n"},
    };
    // clang-format on
    for (const Row& row : rows) {
        SCOPED_TRACE(row.query);
        page.search()->setText(QString::fromUtf8(row.query));
        QString shown;
        if (page.rows().rowOf(derived) >= 0)
            shown += QLatin1Char('d');
        for (const char* letter : {"a", "b"})
            if (page.rows().rowOf(idOf(s(letter))) >= 0)
                shown += QLatin1String(letter);
        if (page.noResults()->isVisible())
            shown += QLatin1Char('n');
        EXPECT_EQ(page.rows().rowOf(blank) >= 0, QString::fromUtf8(row.query).trimmed().isEmpty());
        EXPECT_EQ(shown, QString::fromUtf8(row.shown));
    }
}

TEST_F(NotesPageTest, AChangeOfTheListFromElsewhereLeavesTheEditorAndItsCaretAlone)
{
    makeNotesState(s("ab"));
    NotesPage page(notesState());
    page.show();
    QTest::keyClicks(page.bodyEditor(), s("hello "));
    QTextCursor caret = page.bodyEditor()->textCursor();
    caret.setPosition(3);
    page.bodyEditor()->setTextCursor(caret);

    notesState().addNote(s("saved by a spoken command"));
    notesState().deleteNote(idOf(s("b")));
    m_clock.advance(120'000);
    notesState().updateNote(*notesState().addNote(s("another")), s("T"), s("changed"));

    EXPECT_EQ(page.bodyEditor()->textCursor().position(), 3);
    EXPECT_EQ(page.bodyEditor()->toPlainText(), s("hello a"));
    EXPECT_EQ(letterOf(page.selection().selectedID()), s("a"));
}

TEST_F(NotesPageTest, AWarningLineShowsWhileTheNotesFileCannotBeWritten)
{
    makeNotesState(s("a"));
    NotesPage page(notesState());
    page.show();
    EXPECT_FALSE(page.unsavedLine()->isVisible());
    m_counting.failing = true;
    QTest::keyClicks(page.bodyEditor(), s("x"));
    notesState().flushNotes();
    EXPECT_TRUE(page.unsavedLine()->isVisible());
    EXPECT_EQ(notesState().notes().first().body, s("xa")); // kept in memory
    m_counting.failing = false;
    QTest::keyClicks(page.bodyEditor(), s("y"));
    notesState().flushNotes();
    EXPECT_FALSE(page.unsavedLine()->isVisible());
    EXPECT_EQ(m_counting.notes.first().body, s("xya"));
}

} // namespace
