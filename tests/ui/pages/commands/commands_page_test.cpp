#include "widget_helpers.h"

#include "core/state/state_fixture.h"
#include "core/text/command_phrases.h"
#include "core/text/l10n.h"
#include "ui/kit/kit_label.h"
#include "ui/kit/label_button.h"
#include "ui/kit/toggle_switch.h"
#include "ui/pages/commands/command_needs.h"
#include "ui/pages/commands/commands_page.h"
#include "ui/pages/history/recent_history.h"

#include <gtest/gtest.h>

namespace {

const QString tables = QStringLiteral(QUENDA_SOURCE_DIR "/resources/Languages");

class CommandsPageTest : public StateFixture {
protected:
    void SetUp() override
    {
        StateFixture::SetUp();
        L10n::install({{tables}, {s("en")}});
        makeState();
    }
    void TearDown() override
    {
        L10n::install({{tables}, {s("en")}});
        StateFixture::TearDown();
    }
};

TEST_F(CommandsPageTest, TheSwitchWritesCommandModeOnceAndFollowsAChangeMadeElsewhere)
{
    CommandsPage page(state(), m_commands);
    const qsizetype calls = m_configCalls.size();
    page.modeSwitch()->click();
    EXPECT_FALSE(state().config().commandMode);
    EXPECT_EQ(m_configCalls.size(), calls + 1);
    EXPECT_EQ(page.modeExplanation()->text(), L10n::s("commands.mode.off"));

    configure([](QuendaConfig& c) { c.commandMode = true; });
    EXPECT_TRUE(page.modeSwitch()->isChecked());
    EXPECT_EQ(page.modeExplanation()->text(), L10n::s("commands.mode.on"));
    EXPECT_EQ(m_configCalls.size(), calls + 2);
}

// Each group shows two or three phrases of the table, in the languages the user reads or speaks.
TEST_F(CommandsPageTest, TheExamplesAreTheTablesPhrasesInTheUsersLanguages)
{
    struct Case {
        const char* program;
        const char* native;
        const char* dictated;
        QStringList languages;
    };
    const Case cases[] = {
        // clang-format off
        {.program = "en", .native = "de", .dictated = "auto", .languages = {s("de"), s("en")}},
        {.program = "en", .native = "fr", .dictated = "auto", .languages = {s("en")}},
        {.program = "en", .native = "fr", .dictated = "de",   .languages = {s("de"), s("en")}},
        {.program = "de", .native = "de", .dictated = "auto", .languages = {s("de")}},
        // clang-format on
    };
    for (const Case& c : cases) {
        const std::string row = std::string(c.program) + '/' + c.native + '/' + c.dictated;
        L10n::install({{tables}, {QString::fromLatin1(c.program)}});
        configure([&c](QuendaConfig& config) {
            config.nativeLanguage = QString::fromLatin1(c.native);
            config.language = QString::fromLatin1(c.dictated);
        });
        CommandsPage page(state(), m_commands);
        const QString shown = shownTexts(page).join(u'\n');
        QMap<CommandGroup, QStringList> perGroup;
        for (const CommandPhrases::Example& example : CommandPhrases::examples()) {
            if (shown.contains(L10n::format(s("commands.quoted"), {example.phrase.toString()})))
                perGroup[example.group] << example.language;
        }
        for (const CommandGroup group : CommandGroupText::table.values()) {
            const std::string where = row + ' ' + CommandGroupText::table.text(group).toStdString();
            QStringList languages = perGroup.value(group);
            EXPECT_GE(languages.size(), 2) << where;
            EXPECT_LE(languages.size(), CommandsPage::examplesPerGroup) << where;
            languages.removeDuplicates();
            languages.sort();
            EXPECT_EQ(languages, c.languages) << where;
        }
    }
}

TEST_F(CommandsPageTest, TheProviderNeedOffersTheSettingsOnlyWhileNoneAnswers)
{
    struct Case {
        const char* name;
        bool engineReady;
        bool polishAvailable;
        const char* status;
        bool setUp;
    };
    const Case cases[] = {
        // clang-format off
        {.name = "provider answers",    .engineReady = true,  .polishAvailable = true,  .status = "commands.provider.ready",   .setUp = false},
        {.name = "none set up",         .engineReady = true,  .polishAvailable = false, .status = "commands.provider.missing", .setUp = true},
        {.name = "engine not yet up",   .engineReady = false, .polishAvailable = false, .status = "commands.provider.waiting", .setUp = false},
        // clang-format on
    };
    CommandsPage page(state(), m_commands);
    CommandNeeds& needs = *page.needs();
    for (const Case& c : cases) {
        state().setEngineReady(c.engineReady);
        state().setPolishAvailable(c.polishAvailable);
        EXPECT_EQ(needs.providerStatus()->text(), L10n::s(c.status)) << c.name;
        EXPECT_EQ(needs.setUp()->isVisibleTo(&page), c.setUp) << c.name;
    }
    needs.setUp()->click();
    EXPECT_EQ(m_commands.settingsOpened, QList{SettingsPlace::Correction});

    configure([](QuendaConfig& config) { config.nativeLanguage = s("fr"); });
    EXPECT_TRUE(needs.nativeLanguage()->text().contains(L10n::s("lang.fr")));
}

TEST_F(CommandsPageTest, RecentResultsAreTheNewestCommandsOfTheHistory)
{
    QList<HistoryEntry> history;
    for (int i = 0; i < CommandsPage::recentCount + 2; ++i) {
        HistoryEntry command = dictation(s("command %1").arg(i), 2 * i);
        command.wasCommand = true;
        history << command << dictation(s("dictated %1").arg(i), 2 * i + 1);
    }
    HistoryEntry clipboard = dictation(s("copied"));
    clipboard.kind = HistoryEntry::clipboardKind;
    clipboard.wasCommand = true;
    history.prepend(clipboard);

    CommandsPage page(state(), m_commands);
    EXPECT_TRUE(page.recent()->rows().isEmpty());
    state().setHistory(history);
    QStringList texts;
    for (const HistoryRow* row : page.recent()->rows())
        texts << row->entry().text;
    EXPECT_EQ(texts,
              (QStringList{s("command 0"), s("command 1"), s("command 2"), s("command 3"), s("command 4")}));
}

} // namespace
