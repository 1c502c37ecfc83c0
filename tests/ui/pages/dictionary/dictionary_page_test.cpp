#include "widget_helpers.h"

#include "core/state/state_fixture.h"
#include "core/text/l10n.h"
#include "dictation/learn/learned_entries.h"
#include "ui/kit/card.h"
#include "ui/kit/icon_button.h"
#include "ui/kit/primary_button.h"
#include "ui/kit/search_field.h"
#include "ui/kit/soft_button.h"
#include "ui/kit/toggle_switch.h"
#include "ui/pages/dictionary/dictionary_page.h"
#include "ui/pages/dictionary/dictionary_row.h"
#include "ui/pages/dictionary/entry_check.h"
#include "ui/pages/dictionary/entry_editor.h"

#include <QLineEdit>

#include <gtest/gtest.h>

namespace {

const char* const kHandWritten = "# Names I dictate\n"
                                 "\n"
                                 "cube cuttle -> kubectl\n"
                                 "# places\n"
                                 "Tallbrook\n";

class DictionaryPageTest : public StateFixture {
protected:
    void SetUp() override
    {
        StateFixture::SetUp();
        L10n::install({{QStringLiteral(QUENDA_SOURCE_DIR "/resources/Languages")}, {QStringLiteral("en")}});
        makeState();
    }
    void TearDown() override
    {
        m_view.reset();
        StateFixture::TearDown();
    }

    void setDictionary(const char* text)
    {
        configure([text](QuendaConfig& c) { c.dictionary = s(text); });
        m_configCalls.clear();
    }
    DictionaryPage& open()
    {
        m_view = std::make_unique<DictionaryPage>(state());
        m_view->resize(1000, 700);
        m_view->show();
        settle();
        return *m_view;
    }
    // "term" per row, with "*" in front of a learned one.
    QStringList shown() const
    {
        QStringList out;
        for (const DictionaryRow* row : m_view->rows())
            out << (row->learnedShown() ? s("*") : QString()) + row->entry().item.term;
        return out;
    }
    DictionaryRow* row(const char* term) const
    {
        for (DictionaryRow* r : m_view->rows()) {
            if (r->entry().item.term == s(term))
                return r;
        }
        return nullptr;
    }
    void edit(const char* term, const char* newTerm, const char* newHeard)
    {
        DictionaryRow* r = row(term);
        ASSERT_NE(r, nullptr) << term;
        r->editButton()->click();
        r->editor()->setFields(s(newTerm), s(newHeard));
        r->saveButton()->click();
        settle();
    }
    QString dictionary() { return state().config().dictionary; }
    QString storedDictionary() { return m_files.loadConfig().dictionary; }

    std::unique_ptr<DictionaryPage> m_view;
};

TEST_F(DictionaryPageTest, EachChangeWritesOnceAndKeepsTheLinesItDoesNotTouch)
{
    setDictionary(kHandWritten);
    DictionaryPage& view = open();
    EXPECT_EQ(shown(), (QStringList{s("kubectl"), s("Tallbrook")}));
    EXPECT_EQ(row("kubectl")->heardText(), s("Heard as “cube cuttle”"));

    view.addEditor()->setFields(s("  PostgreSQL "), s("post gress"));
    view.addButton()->click();
    settle();
    EXPECT_EQ(dictionary(), s("# Names I dictate\n\npost gress -> PostgreSQL\ncube cuttle -> kubectl\n"
                              "# places\nTallbrook\n"));
    EXPECT_EQ(view.addEditor()->termField()->text(), QString());

    edit("Tallbrook", "Tallbrook", "tall brook");
    EXPECT_EQ(dictionary(), s("# Names I dictate\n\npost gress -> PostgreSQL\ncube cuttle -> kubectl\n"
                              "# places\ntall brook -> Tallbrook\n"));
    row("kubectl")->removeButton()->click();
    settle();
    EXPECT_EQ(dictionary(),
              s("# Names I dictate\n\npost gress -> PostgreSQL\n# places\ntall brook -> Tallbrook\n"));
    EXPECT_EQ(m_configCalls.size(), 3);
    EXPECT_EQ(storedDictionary(), dictionary());
    EXPECT_EQ(shown(), (QStringList{s("PostgreSQL"), s("Tallbrook")}));
}

TEST_F(DictionaryPageTest, BadInputIsRefusedInPlaceWithItsReason)
{
    struct Row {
        const char* term;
        const char* heard;
        std::optional<EntryCheck::Refusal> refusal;
    };
    using R = EntryCheck::Refusal;
    const Row rows[] = {
        {"  ", "kwenda", R::EmptyTerm},
        {"Quenda", " Quenda ", R::HeardIsTerm},
        {"Quenda", "kwen\nda", R::LineBreak},
        {"a->b", "", R::Arrow},
        {"Quenda", "kwenda -> x", R::Arrow},
        {"#hashtag", "", R::Comment},
        {"Tag", "#tag", R::Comment},
        {"GitHub", "github", std::nullopt},
        {"C#", "", std::nullopt},
    };
    setDictionary("Tallbrook");
    DictionaryPage& view = open();
    for (const Row& row : rows) {
        view.addEditor()->setFields(s(row.term), s(row.heard));
        view.addButton()->click();
        settle();
        EXPECT_EQ(view.addEditor()->reason(), row.refusal ? EntryCheck::reason(*row.refusal) : QString())
            << row.term << " / " << row.heard;
        // A refused entry leaves the dictionary and the fields as they were.
        EXPECT_EQ(view.addEditor()->termField()->text().isEmpty(), !row.refusal.has_value()) << row.term;
    }
    EXPECT_EQ(m_configCalls.size(), 2);

    // Editing a row refuses the same way, in the row.
    DictionaryRow* tallbrook = this->row("Tallbrook");
    tallbrook->editButton()->click();
    tallbrook->editor()->setFields(s("Tallbrook"), s("Tallbrook"));
    tallbrook->saveButton()->click();
    EXPECT_EQ(tallbrook->editor()->reason(), EntryCheck::reason(R::HeardIsTerm));
    EXPECT_TRUE(tallbrook->editing());
    EXPECT_EQ(m_configCalls.size(), 2);
}

TEST_F(DictionaryPageTest, ARemovalCanBeUndoneForAMomentOnly)
{
    setDictionary("# mine\n# learned\ncube cuttle -> kubectl\nTallbrook");
    DictionaryPage& view = open();
    EXPECT_FALSE(view.undoBar()->isVisibleTo(&view));

    row("kubectl")->removeButton()->click();
    settle();
    EXPECT_TRUE(view.undoBar()->isVisibleTo(&view));
    view.undoButton()->click();
    settle();
    EXPECT_EQ(dictionary(), s("# mine\n# learned\ncube cuttle -> kubectl\nTallbrook"));
    EXPECT_EQ(shown(), (QStringList{s("*kubectl"), s("Tallbrook")}));
    EXPECT_FALSE(view.undoBar()->isVisibleTo(&view));

    // The learner writes in between: the entry comes back, learned, and the new one stays.
    row("kubectl")->removeButton()->click();
    settle();
    configure([](QuendaConfig& c) {
        c.dictionary =
            LearnedEntries::applyLearned(c.dictionary, {{QUuid::createUuid(), s("Linux"), s("linuks")}})
                ->dictionary;
    });
    view.undoButton()->click();
    settle();
    EXPECT_EQ(shown(), (QStringList{s("*kubectl"), s("*Linux"), s("Tallbrook")}));

    row("Tallbrook")->removeButton()->click();
    m_clock.advance(DictionaryPage::undoMs);
    settle();
    EXPECT_FALSE(view.undoBar()->isVisibleTo(&view));
    EXPECT_EQ(shown(), (QStringList{s("*kubectl"), s("*Linux")}));
}

TEST_F(DictionaryPageTest, SearchLooksAtTermAndHeardFormWithTheHistoryPagesHints)
{
    struct Row {
        const char* query;
        QStringList terms;
        const char* hint; // the hint's title key, "" for none
    };
    const Row rows[] = {
        {"", {s("kubectl"), s("Tallbrook"), s("Mira")}, ""},
        {"CUBE", {s("kubectl")}, ""},      // the heard form only
        {"  tall ", {s("Tallbrook")}, ""}, // trimmed, any case
        {"ku", {s("kubectl")}, ""},
        {"invoice", {}, "dictionary.noResults"},
    };
    setDictionary("cube cuttle -> kubectl\n# comment matches nothing\nTallbrook\nMira");
    DictionaryPage& view = open();
    for (const Row& row : rows) {
        view.searchField()->setText(s(row.query));
        settle();
        EXPECT_EQ(shown(), row.terms) << row.query;
        EXPECT_EQ(view.hintTitle(), *row.hint ? L10n::s(row.hint) : QString()) << row.query;
    }
    setDictionary("# only a comment");
    EXPECT_EQ(view.hintTitle(), L10n::s("dictionary.emptyTitle"));
}

TEST_F(DictionaryPageTest, ALearnedEntryIsFoundAndCorrectedAndStaysLearnedUntilThen)
{
    setDictionary("Tallbrook");
    configure([](QuendaConfig& c) {
        c.dictionary =
            LearnedEntries::applyLearned(c.dictionary, {{QUuid::createUuid(), s("cubectl"), s("cube")}})
                ->dictionary;
    });
    // A restart reads the mark back from the file.
    makeState();
    DictionaryPage& view = open();
    view.searchField()->setText(s("cube"));
    settle();
    EXPECT_EQ(shown(), QStringList{s("*cubectl")});
    edit("cubectl", "kubectl", "cube");
    view.searchField()->setText(QString());
    settle();
    EXPECT_EQ(shown(), (QStringList{s("kubectl"), s("Tallbrook")}));
    EXPECT_EQ(storedDictionary(), s("cube -> kubectl\nTallbrook"));
}

TEST_F(DictionaryPageTest, TheLearnSwitchIsTheConfigurationsLearnEdits)
{
    DictionaryPage& view = open();
    EXPECT_TRUE(view.learnSwitch()->isChecked());
    view.learnSwitch()->click();
    EXPECT_FALSE(state().config().learnEdits);
    configure([](QuendaConfig& c) { c.learnEdits = true; });
    EXPECT_TRUE(view.learnSwitch()->isChecked());
}

TEST_F(DictionaryPageTest, TwoThousandEntriesGetRowsAChunkAtATime)
{
    QStringList lines;
    for (int i = 0; i < 2000; ++i)
        lines << QStringLiteral("heard %1 -> Term %1").arg(i);
    configure([&lines](QuendaConfig& c) { c.dictionary = lines.join(u'\n'); });
    DictionaryPage& view = open();
    EXPECT_LE(view.rowsMade(), 2 * DictionaryPage::chunk);
    EXPECT_TRUE(view.hasMore());
    view.searchField()->setText(s("term 1999"));
    settle();
    EXPECT_EQ(shown(), QStringList{s("Term 1999")});
}

} // namespace
