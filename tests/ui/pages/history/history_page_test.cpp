#include "history_fixture.h"

#include "ui/kit/icon_button.h"
#include "ui/kit/label_button.h"
#include "ui/kit/motion.h"
#include "ui/kit/page.h"
#include "ui/kit/search_field.h"
#include "ui/pages/history/clear_history_question.h"
#include "ui/pages/history/history_page.h"
#include "ui/pages/history/history_row.h"
#include "ui/pages/history/recent_history.h"
#include "ui/pages/home/home_page.h"
#include "ui/shell/main_view.h"
#include "ui/shell/menu_bar_view.h"

#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QScrollBar>
#include <QSet>
#include <QTest>

#include <gtest/gtest.h>

namespace {

class HistoryPageTest : public HistoryFixture {
protected:
    HistoryPage& open()
    {
        m_view = std::make_unique<HistoryPage>(state());
        m_view->resize(1000, 700);
        m_view->show();
        settle();
        return *m_view;
    }
    static QStringList texts(const HistoryPage& view)
    {
        QStringList found;
        for (const HistoryRow* row : view.rows())
            found << row->entry().text;
        return found;
    }

    std::unique_ptr<HistoryPage> m_view;
};

TEST_F(HistoryPageTest, TenThousandEntriesGetRowsAChunkAtATimeKeptByEntry)
{
    state().setHistory(entries(10000));
    HistoryPage& view = open();
    // Chunks until the rows reach a screen past the window's end, and no further.
    const int opened = view.rowsMade();
    EXPECT_EQ(opened % HistoryPage::chunk, 0);
    EXPECT_LE(opened, 2 * HistoryPage::chunk);
    EXPECT_EQ(view.rows().size(), opened);
    QPointer<HistoryRow> second = view.rows().at(1);
    // The days past the rows made so far get no heading yet.
    QSet<QDate> days;
    for (const HistoryRow* row : view.rows())
        days.insert(row->entry().date.toLocalTime().date());
    EXPECT_EQ(view.dayTitles().size(), days.size());

    QScrollBar* bar = view.page()->verticalScrollBar();
    bar->setValue(bar->maximum()); // near the end: the next chunk
    settle();
    EXPECT_EQ(view.rowsMade(), opened + HistoryPage::chunk);
    EXPECT_TRUE(view.hasMore());

    state().addHistory(dictation(QStringLiteral("arrived")));
    settle();
    EXPECT_EQ(view.rowsMade(), opened + HistoryPage::chunk + 1); // only the new entry's row
    EXPECT_EQ(texts(view).first(), QStringLiteral("arrived"));
    EXPECT_EQ(view.rows().at(2), second.data());

    view.searchField()->setText(QStringLiteral("entry 999"));
    settle();
    EXPECT_EQ(
        texts(view),
        (QStringList{QStringLiteral("entry 999"), QStringLiteral("entry 9990"), QStringLiteral("entry 9991"),
                     QStringLiteral("entry 9992"), QStringLiteral("entry 9993"), QStringLiteral("entry 9994"),
                     QStringLiteral("entry 9995"), QStringLiteral("entry 9996"), QStringLiteral("entry 9997"),
                     QStringLiteral("entry 9998"), QStringLiteral("entry 9999")}));
    EXPECT_FALSE(view.hasMore());
}

TEST_F(HistoryPageTest, ClearingAsksInThePageWithCancelHoldingTheKeyboardAndWritesTheEmptyFile)
{
    struct Row {
        const char* name;
        std::function<void(ClearHistoryQuestion&)> answer;
        bool cleared;
    };
    const auto key = [](Qt::Key k) {
        return [k](ClearHistoryQuestion& question) { QTest::keyClick(question.focusWidget(), k); };
    };
    // clang-format off
    const Row rows[] = {
        {.name = "a stray Enter keeps it", .answer = key(Qt::Key_Return), .cleared = false},
        {.name = "a stray Space keeps it", .answer = key(Qt::Key_Space),  .cleared = false},
        {.name = "Escape keeps it",        .answer = key(Qt::Key_Escape), .cleared = false},
        {.name = "Cancel keeps it",        .answer = [](ClearHistoryQuestion& q) { q.cancelButton()->click(); }, .cleared = false},
        {.name = "delete empties it",      .answer = [](ClearHistoryQuestion& q) { q.deleteButton()->click(); }, .cleared = true},
    };
    // clang-format on
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        QFile::remove(historyPath());
        state().setHistory(entries(3));
        HistoryPage& view = open();
        ASSERT_TRUE(view.clearButton()->isVisible());
        EXPECT_FALSE(view.confirmation()->isVisible());
        view.clearButton()->click();
        ClearHistoryQuestion& question = *view.confirmation();
        ASSERT_TRUE(question.isVisible());
        EXPECT_EQ(question.focusWidget(), question.cancelButton());
        row.answer(question);
        settle();
        EXPECT_FALSE(question.isVisible());
        EXPECT_EQ(state().history().isEmpty(), row.cleared);
        EXPECT_EQ(QFile::exists(historyPath()), row.cleared);
        EXPECT_EQ(view.clearButton()->isVisible(), !row.cleared);
        EXPECT_EQ(shownTexts(view).contains(L10n::s(QStringLiteral("history.emptyTitle"))), row.cleared);
    }
    EXPECT_TRUE(storedHistory().isEmpty());
}

TEST_F(HistoryPageTest, CtrlFTakesTheKeyboardToTheSearchAndEscapeEmptiesIt)
{
    state().setHistory(entries(3));
    HistoryPage& view = open();
    QApplication::setActiveWindow(&view);
    HistoryRow* row = view.rows().first();
    row->setFocus(Qt::TabFocusReason);
    QTest::keyClick(row, Qt::Key_F, Qt::ControlModifier);
    QLineEdit* search = view.searchField()->editor();
    ASSERT_TRUE(search->hasFocus());
    // Its focus ring stands whole inside the field: two pixels of the ring's colour at either end.
    const QImage field = view.searchField()->grab().toImage();
    const QColor ring = view.searchField()->palette().color(QPalette::Highlight);
    for (const int x : {0, 1, field.width() - 2, field.width() - 1}) {
        const QColor seen = field.pixelColor(x, field.height() / 2);
        EXPECT_LE(std::abs(seen.red() - ring.red()) + std::abs(seen.green() - ring.green()) +
                      std::abs(seen.blue() - ring.blue()),
                  12)
            << x;
    }
    QTest::keyClicks(search, QStringLiteral("entry 1"));
    EXPECT_EQ(view.rows().size(), 1);
    QTest::keyClick(search, Qt::Key_Escape);
    EXPECT_EQ(view.searchField()->text(), QString());
    EXPECT_EQ(view.rows().size(), 3);
    EXPECT_TRUE(search->hasFocus());
}

TEST_F(HistoryPageTest, AFileRepeatingAnIdShowsEveryEntryAndRemovesOnlyTheOneAsked)
{
    QList<HistoryEntry> stored = entries(3);
    stored[2].id = stored[0].id;
    writeAll(historyPath(), HistoryStore::encode(stored));
    makeState();
    configure([](QuendaConfig& c) {
        c.historyMaxEntries = 0;
        c.historyKeepHours = 0;
    });
    HistoryPage& view = open();
    ASSERT_EQ(texts(view),
              (QStringList{QStringLiteral("entry 0"), QStringLiteral("entry 1"), QStringLiteral("entry 2")}));
    HistoryRow* first = view.rows().at(0);
    first->setFocus(Qt::TabFocusReason);
    QTest::keyClick(first, Qt::Key_Menu);
    first->menu()->actions().at(1)->trigger(); // remove
    settle();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(texts(view), (QStringList{QStringLiteral("entry 1"), QStringLiteral("entry 2")}));
    QStringList written;
    for (const HistoryEntry& e : storedHistory())
        written << e.text;
    EXPECT_EQ(written, (QStringList{QStringLiteral("entry 1"), QStringLiteral("entry 2")}));
}

TEST_F(HistoryPageTest, HintsForNoHistoryAndNoResultsAndPruningOnOpening)
{
    HistoryPage& empty = open();
    EXPECT_TRUE(shownTexts(empty).contains(L10n::s(QStringLiteral("history.emptyTitle"))));
    EXPECT_FALSE(empty.clearButton()->isVisible());

    state().setHistory(entries(4));
    EXPECT_FALSE(shownTexts(empty).contains(L10n::s(QStringLiteral("history.emptyTitle"))));
    empty.searchField()->setText(QStringLiteral(" zebra "));
    settle();
    EXPECT_TRUE(
        shownTexts(empty).contains(QStringLiteral("Nothing in your history matches \u201c zebra \u201d.")));
    EXPECT_TRUE(empty.clearButton()->isVisible());
    EXPECT_TRUE(empty.rows().isEmpty());
    m_view.reset();

    configure([](QuendaConfig& c) { c.historyMaxEntries = 2; });
    state().setHistory(entries(4)); // the limit pruned once already; the page prunes again
    HistoryPage& pruned = open();
    EXPECT_EQ(state().history().size(), 2);
    EXPECT_EQ(pruned.rows().size(), 2);
    EXPECT_EQ(pruned.dayTitles(), QStringList{L10n::s(QStringLiteral("time.today"))});
}

TEST_F(HistoryPageTest, TheHistorySectionHomeAndThePopoverShowTheRows)
{
    state().setHistory(entries(7));
    MainView main(state(), m_commands);
    main.resize(1000, 700);
    state().setSection(MainSection::History);
    EXPECT_NE(qobject_cast<HistoryPage*>(main.page()), nullptr);
    state().setSection(MainSection::Home);
    auto* home = main.page()->findChild<RecentHistory*>();
    ASSERT_NE(home, nullptr);
    EXPECT_EQ(home->rows().size(), HomePage::recentCount);
    EXPECT_EQ(home->rows().first()->mode(), HistoryRow::Mode::Relative);

    MenuBarView menu(state(), m_commands);
    auto* recent = menu.findChild<RecentHistory*>();
    ASSERT_NE(recent, nullptr);
    EXPECT_EQ(recent->rows().size(), MenuBarView::recentCount);
    EXPECT_EQ(recent->rows().first()->mode(), HistoryRow::Mode::Compact);
    state().clearHistory();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(recent->rows().isEmpty());
    EXPECT_TRUE(home->rows().isEmpty());
}

TEST_F(HistoryPageTest, ARemovedRowFoldsAwayOnTheClockAndClearingFadesEveryRowOut)
{
    struct Case {
        const char* name;
        bool clear;
        bool arrives; // a new entry comes while the row folds
        int durationMs;
        QStringList left;
    };
    // clang-format off
    const Case cases[] = {
        {.name = "remove",  .clear = false, .arrives = false, .durationMs = Motion::removeMs,   .left = {s("entry 0"), s("entry 2")}},
        {.name = "arrival", .clear = false, .arrives = true,  .durationMs = Motion::removeMs,   .left = {s("new"), s("entry 0"), s("entry 2")}},
        {.name = "clear",   .clear = true,  .arrives = false, .durationMs = Motion::standardMs, .left = {}},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        state().setHistory(entries(3));
        HistoryPage& view = open();
        AnimationsOn on;
        const QPointer<HistoryRow> row = view.rows().at(1);
        // Clearing takes the day's card away with its rows in it.
        const QPointer<QWidget> folding = c.clear ? row->parentWidget() : row.data();
        const int height = folding->height();
        if (c.clear)
            state().clearHistory();
        else
            state().deleteHistory(row->entry().id);
        m_clock.advance(c.durationMs / 3);
        settle();
        ASSERT_FALSE(folding.isNull()) << "gone at once";
        EXPECT_GT(folding->height(), 0);
        EXPECT_LT(folding->height(), height);
        if (c.arrives)
            state().setHistory(QList<HistoryEntry>{dictation(s("new"))} + state().history());
        m_clock.advance(c.durationMs);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        settle();
        EXPECT_TRUE(row.isNull());
        EXPECT_EQ(texts(view), c.left);
        const QList<HistoryRow*> rows = view.rows();
        for (qsizetype i = 1; i < rows.size(); ++i)
            EXPECT_EQ(rows[i]->y(), rows[i - 1]->geometry().bottom() + 1 + 4) << "a gap is left between rows";
    }
}

} // namespace
