#include "dictation/commands/note_save_command.h"

#include "core/text/command_phrases.h"

#include <QLocale>

#include <gtest/gtest.h>

#include <optional>
#include <ostream>

namespace {

using Kind = NoteSaveCommand::Kind;

struct Case {
    const char* name;
    QString instruction;
    std::optional<Kind> expected;
};

void PrintTo(const Case& c, std::ostream* os)
{
    *os << c.name;
}

std::string label(std::optional<Kind> kind)
{
    if (!kind)
        return "none";
    return *kind == Kind::SaveSelection ? "saveSelection" : "saveAnswer";
}

class NoteSaveCommandTest : public ::testing::TestWithParam<Case> {};

TEST_P(NoteSaveCommandTest, Classifies)
{
    const Case& c = GetParam();
    EXPECT_EQ(label(NoteSaveCommand::kind(c.instruction)), label(c.expected)) << c.name;
}

// The sample instructions, then case, accents and letters outside the BMP.
INSTANTIATE_TEST_SUITE_P(
    Samples, NoteSaveCommandTest,
    ::testing::Values(
        // clang-format off
        Case{.name = "SaveVerbByPrefixRestFrameWords", .instruction = QStringLiteral("Speichere das in meinen Notizen."), .expected = Kind::SaveSelection},
        Case{.name = "PunctuationAndPlease", .instruction = QStringLiteral("Put it in my notes, please!"), .expected = Kind::SaveSelection},
        Case{.name = "DestinationAloneIsEnough", .instruction = QStringLiteral("In die Notizen"), .expected = Kind::SaveSelection},
        Case{.name = "RewriteStemAsksForAnAnswer", .instruction = QStringLiteral("Summarize this into my notes"), .expected = Kind::SaveAnswer},
        Case{.name = "ContentWordsRemain", .instruction = QStringLiteral("Keep this in my notes with a title"), .expected = Kind::SaveAnswer},
        Case{.name = "FassFollowedByAWord", .instruction = QStringLiteral("Fass das zusammen und speichere es in den Notizen"), .expected = Kind::SaveAnswer},
        Case{.name = "SingularNoteIsNotTheNotes", .instruction = QStringLiteral("Save this as a note"), .expected = std::nullopt},
        Case{.name = "QuestionWithoutVerbOrDestination", .instruction = QStringLiteral("Was sind Notizen?"), .expected = std::nullopt},
        Case{.name = "QuestionWithDestination", .instruction = QStringLiteral("Was steht in den Notizen?"), .expected = Kind::SaveAnswer},
        Case{.name = "OnlyPunctuation", .instruction = QStringLiteral(" ?! … — \t\n"), .expected = std::nullopt},
        Case{.name = "ShoutedUmlautFolds", .instruction = QStringLiteral("ÜBERNIMM DAS IN DIE NOTIZEN"), .expected = Kind::SaveSelection},
        Case{.name = "DecomposedUmlautFolds", .instruction = QStringLiteral("U\u0308bernimm das fu\u0308r mich in die Notizen"), .expected = Kind::SaveSelection},
        Case{.name = "AccentedFrameWordFolds", .instruction = QStringLiteral("Speichere das für mich in den Notízen"), .expected = Kind::SaveSelection},
        Case{.name = "TabsAndLineBreaksSeparateWords", .instruction = QStringLiteral("Speichere\tdas\nin\r\nNotizen"), .expected = Kind::SaveSelection},
        // Fraktur letters are letters outside the BMP: one word that remains, not two surrogates dropped.
        Case{.name = "NonBmpLettersAreAWord", .instruction = QStringLiteral("Speichere \U0001D521\U0001D51E\U0001D530 in meinen Notizen"), .expected = Kind::SaveAnswer},
        // An emoji is a symbol outside the BMP: a separator, not a word.
        Case{.name = "NonBmpSymbolIsASeparator", .instruction = QStringLiteral("Speichere das in meinen Notizen \U0001F4DD"), .expected = Kind::SaveSelection},
        // Deseret capitals fold to their small letters outside the BMP; still a content word.
        Case{.name = "NonBmpCapitalsFold", .instruction = QStringLiteral("Save \U00010414\U00010437 to my notes"), .expected = Kind::SaveAnswer},
        // clang-format on
        // The letters of "in my notes" inside "begin my notes" name no destination.
        Case{.name = "DestinationOnlyAsWholeWords",
             .instruction = QStringLiteral("Begin my notes with a heading"),
             .expected = std::nullopt}),
    [](const ::testing::TestParamInfo<Case>& info) { return std::string(info.param.name); });

// A Turkish default locale folds "I" to a dotless i; the tables are German and English.
TEST(NoteSaveCommand, FoldsTheSameUnderATurkishLocale)
{
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::Turkish, QLocale::Turkey));
    const auto kind = NoteSaveCommand::kind(QStringLiteral("SPEICHERE DAS IN DIE NOTIZEN"));
    QLocale::setDefault(before);
    EXPECT_EQ(label(kind), label(Kind::SaveSelection));
}

// The commands page shows these phrases: each must reach the road of its group. A save phrase is
// taken for a note; any other runs as a command, and its stem names its group.
TEST(NoteSaveCommand, EveryExampleTheCommandsPageShowsTakesItsGroupsRoad)
{
    for (const CommandPhrases::Example& example : CommandPhrases::examples()) {
        const QString phrase = example.phrase.toString();
        const std::optional<Kind> kind = NoteSaveCommand::kind(phrase);
        if (example.group == CommandGroup::SaveToNotes) {
            EXPECT_TRUE(kind.has_value()) << phrase.toStdString();
            continue;
        }
        EXPECT_EQ(label(kind), "none") << phrase.toStdString();
        EXPECT_EQ(CommandPhrases::rewriteGroup(CommandPhrases::normalized(phrase)), example.group)
            << phrase.toStdString();
    }
}

// Two or three phrases per group in each language the tables are written in.
TEST(NoteSaveCommand, EveryGroupHasExamplesInGermanAndEnglish)
{
    for (const CommandGroup group : CommandGroupText::table.values()) {
        for (const char* language : {"en", "de"}) {
            const qsizetype count =
                CommandPhrases::examples(group, {QString::fromLatin1(language)}, 9).size();
            EXPECT_GE(count, 2) << CommandGroupText::table.text(group).toStdString() << ' ' << language;
            EXPECT_LE(count, 3) << CommandGroupText::table.text(group).toStdString() << ' ' << language;
        }
    }
}

} // namespace
