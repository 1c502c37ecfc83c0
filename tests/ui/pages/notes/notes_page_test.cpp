#include "notes_fixture.h"

#include "widget_helpers.h"

#include "core/model/main_section.h"
#include "ui/kit/kit_label.h"
#include "ui/kit/page.h"
#include "ui/kit/scheme.h"
#include "ui/kit/search_field.h"
#include "ui/kit/soft_button.h"
#include "ui/pages/notes/note_list_model.h"
#include "ui/pages/notes/note_selection.h"
#include "ui/pages/notes/note_title_field.h"
#include "ui/pages/notes/notes_page.h"
#include "ui/shell/main_view.h"

#include <QApplication>
#include <QClipboard>
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
            QTest::mouseClick(page.newButton(), Qt::LeftButton); // as a hand does: the button takes focus
        else if (verb == s("space"))
            QTest::keyClick(page.focusWidget(), Qt::Key_Space);
        else if (verb == s("copy"))
            page.copyButton()->click();
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
        else if (verb == s("listup"))
            QTest::keyClick(page.list(), Qt::Key_Up);
        else
            ADD_FAILURE() << "unknown step " << step.toStdString();
    }

    // The space-separated steps of run(), where "leave" ends the page.
    void runAll(std::unique_ptr<NotesPage>& page, const char* steps)
    {
        for (const QString& step : QString::fromUtf8(steps).split(QLatin1Char(' '))) {
            if (step == s("leave"))
                page.reset();
            else
                run(*page, step);
        }
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
        {.name = "New leaves the keyboard in the title", .notes = "abc", .steps = "appear new space",          .selected = "*", .body = "",    .written = true , .file = " | A|a B|b C|c"},
        {.name = "a new note left blank is not kept",    .notes = "abc", .steps = "appear new click:b",        .selected = "b", .body = "b",   .written = true , .file = "A|a B|b C|c"},
        {.name = "New twice keeps one blank note",       .notes = "abc", .steps = "appear new new",            .selected = "*", .body = "",    .written = true , .file = "| A|a B|b C|c"},
        {.name = "a titled new note is kept",            .notes = "abc", .steps = "appear new title:T click:b", .selected = "b", .body = "b",  .written = true , .file = "T| A|a B|b C|c"},
        {.name = "delete opens the first other note",    .notes = "abc", .steps = "appear click:b del",        .selected = "a", .body = "a",   .written = true , .file = "A|a C|c"},
        {.name = "deleting the first opens the next",    .notes = "abc", .steps = "appear del",                .selected = "b", .body = "b",   .written = true , .file = "B|b C|c"},
        {.name = "deleting the last leaves none",        .notes = "a",   .steps = "appear del",                .selected = "-", .body = "",    .written = true , .file = ""},
        {.name = "deleted elsewhere: the first opens",   .notes = "abc", .steps = "appear click:c gone:c",     .selected = "a", .body = "a",   .written = true , .file = "A|a B|b"},
        {.name = "added elsewhere: selection stays",     .notes = "abc", .steps = "appear click:b add",        .selected = "b", .body = "b",   .written = true , .file = "from elsewhere|from elsewhere A|a B|b C|c"},
        {.name = "the first note added opens",           .notes = "",    .steps = "appear add",                .selected = "*", .body = "from elsewhere", .written = true , .file = "from elsewhere|from elsewhere"},
        {.name = "Down moves down",                      .notes = "abc", .steps = "appear down",               .selected = "b", .body = "b",   .written = false, .file = "A|a B|b C|c"},
        {.name = "Up moves up",                          .notes = "abc", .steps = "appear click:c up",         .selected = "b", .body = "b",   .written = false, .file = "A|a B|b C|c"},
        {.name = "Up in the list moves up",              .notes = "abc", .steps = "appear click:c listup",     .selected = "b", .body = "b",   .written = false, .file = "A|a B|b C|c"},
        {.name = "Down moves in the shown notes",        .notes = "abc", .steps = "appear search:c down",      .selected = "c", .body = "c",   .written = false, .file = "A|a B|b C|c"},
        {.name = "a hidden selection stays open",        .notes = "abc", .steps = "appear search:b type:y",    .selected = "a", .body = "ya",  .written = true , .file = "A|ya B|b C|c"},
    };
    // clang-format on
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        makeNotesState(QString::fromUtf8(row.notes));
        {
            auto shown = std::make_unique<NotesPage>(notesState());
            runAll(shown, row.steps);
            NotesPage& page = *shown;
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

TEST_F(NotesPageTest, CopyPutsTheOpenNotesTextWithoutItsTitleOnTheClipboard)
{
    struct Row {
        const char* steps;
        const char* clipboard;
    };
    const Row rows[] = {
        {.steps = "appear type:x copy", .clipboard = "xa"},
        {.steps = "appear title:T click:b copy", .clipboard = "b"},
        {.steps = "appear new copy", .clipboard = ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.steps);
        makeNotesState(s("ab"));
        auto page = std::make_unique<NotesPage>(notesState());
        QGuiApplication::clipboard()->setText(s("left from before"));
        runAll(page, row.steps);
        EXPECT_EQ(QGuiApplication::clipboard()->text(), QString::fromUtf8(row.clipboard));
    }
}

// With every write failing, the warning is known at once only where the page waits for the file.
TEST_F(NotesPageTest, AnEditReachesTheFileBeforeAnotherNoteOpensAndWhenThePageGoes)
{
    struct Row {
        const char* name;
        const char* steps;
        bool waited;
    };
    const Row rows[] = {
        {.name = "typing is written behind", .steps = "appear type:x", .waited = false},
        {.name = "opening another note", .steps = "appear type:x click:b", .waited = true},
        {.name = "leaving the page", .steps = "appear type:x leave", .waited = true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        m_counting.failing = true;
        makeNotesState(s("ab"));
        auto page = std::make_unique<NotesPage>(notesState());
        runAll(page, row.steps);
        EXPECT_EQ(notesState().notesUnsaved(), row.waited);
        page.reset();
        m_counting.failing = false;
    }
}

TEST_F(NotesPageTest, ANoteLeftBlankWhenThePageGoesIsNotKept)
{
    struct Row {
        const char* steps;
        const char* file;
    };
    const Row rows[] = {
        {.steps = "appear new leave", .file = "A|a"},
        {.steps = "appear new title:T leave", .file = "T| A|a"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.steps);
        makeNotesState(s("a"));
        auto page = std::make_unique<NotesPage>(notesState());
        runAll(page, row.steps);
        EXPECT_EQ(file(), QString::fromUtf8(row.file));
    }
}

// A row the list does not repaint keeps its old title or highlight on screen.
TEST_F(NotesPageTest, TheListRepaintsTheRowsWhoseTitleOrHighlightChanged)
{
    const auto notes = [this](const char* letters) {
        QList<QuendaNote> list;
        for (const char* c = letters; *c; ++c)
            list.append({idOf(QString(QLatin1Char(*c))), {}, {}, QString(QLatin1Char(*c)).toUpper(), {}});
        return list;
    };
    QList<QuendaNote> retitled = notes("abc");
    retitled[1].title = s("Groceries");
    struct Row {
        const char* name;
        std::function<void(NoteListModel&)> change;
        const char* repainted; // letters of the rows told, "reset" for all
    };
    // clang-format off
    const Row rows[] = {
        {.name = "a title edited",         .change = [&](NoteListModel& m) { m.setNotes(retitled); },               .repainted = "b"},
        {.name = "the same notes",         .change = [&](NoteListModel& m) { m.setNotes(notes("abc")); },           .repainted = ""},
        {.name = "another note selected",  .change = [&](NoteListModel& m) { m.setSelected(idOf(s("c"))); },       .repainted = "ac"},
        {.name = "the selection cleared",  .change = [&](NoteListModel& m) { m.setSelected(std::nullopt); },       .repainted = "a"},
        {.name = "a note added",           .change = [&](NoteListModel& m) { m.setNotes(notes("dabc")); },          .repainted = "reset"},
    };
    // clang-format on
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        NoteListModel model([] { return QDateTime(); });
        model.setNotes(notes("abc"));
        model.setSelected(idOf(s("a")));
        QString told;
        QObject::connect(&model, &NoteListModel::dataChanged,
                         [&](const QModelIndex& from, const QModelIndex& to) {
                             for (int r = from.row(); r <= to.row(); ++r)
                                 told += letterOf(model.idAt(r));
                         });
        QObject::connect(&model, &NoteListModel::modelReset, [&] { told += s("reset"); });
        row.change(model);
        EXPECT_EQ(told, QString::fromUtf8(row.repainted));
    }
}

TEST_F(NotesPageTest, TheEditorShowsItsButtonsItsDividerAndItsTitleAboveTheBodyEndingInAnEllipsis)
{
    makeNotesState(s(""));
    const QString title = s("Hall booking for the spring concert at the community centre in April");
    notesState().setNoteToOpen(*notesState().addNote(s("Hello"), title));
    notesState().setSection(MainSection::Notes);
    MainView main(notesState());
    QPalette flat = Scheme::dark();
    flat.setColor(QPalette::Mid, flat.color(QPalette::Base)); // as some dark desktop palettes have it
    main.setPalette(flat);
    for (const QSize size : {QSize(920, 620), QSize(1000, 700)}) {
        SCOPED_TRACE(size.height());
        main.resize(size);
        main.show();
        settle();
        auto* page = qobject_cast<NotesPage*>(main.page());
        const QWidget* viewport = page->findChild<Page*>()->viewport();
        for (const QWidget* button : {page->copyButton(), page->deleteButton()})
            EXPECT_TRUE(
                viewport->rect().contains(QRect(button->mapTo(viewport, QPoint(0, 0)), button->size())));
    }
    auto* page = qobject_cast<NotesPage*>(main.page());
    NoteTitleField* field = page->titleEditor();
    EXPECT_TRUE(field->shownText().endsWith(QChar(0x2026)));
    EXPECT_LE(field->fontMetrics().horizontalAdvance(field->shownText()), field->width());

    // The first painted column of the title and of the body, both starting with "H".
    QWidget* column = page->bodyEditor()->parentWidget();
    const QImage ink = renderTransparent(*column);
    const auto firstInk = [&](const QWidget* text) {
        const int top = text->mapTo(column, QPoint(0, 0)).y();
        for (int x = 0; x < column->width(); ++x)
            if (paintedPixels(ink, QRect(x, top, 1, text->height() / 2)) > 0)
                return x;
        return -1;
    };
    EXPECT_NEAR(firstInk(field), firstInk(page->bodyEditor()), 1);

    const QWidget* list = page->list()->parentWidget();
    const QImage card = page->editorBlock()->grab().toImage();
    const QPoint at = list->mapTo(page->editorBlock(), QPoint(list->width(), list->height() / 2));
    EXPECT_GT(Scheme::contrast(card.pixelColor(at), card.pixelColor(at + QPoint(8, 0))), 1.2);

    QApplication::setActiveWindow(&main);
    field->setFocus(Qt::MouseFocusReason);
    EXPECT_EQ(field->shownText(), title);
}

} // namespace
