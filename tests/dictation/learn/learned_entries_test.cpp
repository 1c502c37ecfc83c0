#include "dictation/learn/learned_entries.h"

#include <gtest/gtest.h>

#include <ostream>

namespace {

DictionaryItem entry(const char* heard, const char* term)
{
    return {QUuid::createUuid(), QString::fromUtf8(term), QString::fromUtf8(heard)};
}

struct Case {
    const char* name;
    QString dictionary;
    QList<DictionaryItem> learned;
    std::optional<QString> merged; // none when nothing is new
    QStringList added;             // heard forms of the added entries
};

void PrintTo(const Case& c, std::ostream* os)
{
    *os << c.name;
}

class ApplyLearned : public ::testing::TestWithParam<Case> {};

TEST_P(ApplyLearned, AddsNewEntriesAsLinesAndKeepsTheRest)
{
    const Case& c = GetParam();
    const auto merge = LearnedEntries::applyLearned(c.dictionary, c.learned);
    EXPECT_EQ(merge ? merge->dictionary.toStdString() : "<unchanged>",
              c.merged ? c.merged->toStdString() : "<unchanged>");
    QStringList added;
    if (merge) {
        for (const DictionaryItem& item : merge->added)
            added.append(item.heardAs);
    }
    EXPECT_EQ(added, c.added);
}

const QString kCommented = QStringLiteral("# Namen, die das Programm falsch hört\n"
                                          "\n"
                                          "kwenda -> Quenda\n"
                                          "\n"
                                          "# Orte\n"
                                          "Berlin\n");

INSTANTIATE_TEST_SUITE_P(
    Cases, ApplyLearned,
    ::testing::Values(
        Case{.name = "CommentsAndBlankLinesStay",
             .dictionary = kCommented,
             .learned = {entry("githab", "GitHub")},
             .merged = QStringLiteral("# Namen, die das Programm falsch hört\n"
                                      "\n"
                                      "# learned\n"
                                      "githab -> GitHub\n"
                                      "kwenda -> Quenda\n"
                                      "\n"
                                      "# Orte\n"
                                      "Berlin\n"),
             .added = {QStringLiteral("githab")}},
        // clang-format off
                      Case{.name = "NewestFirst", .dictionary = QStringLiteral("Berlin"), .learned = {entry("githab", "GitHub"), entry("linuks", "Linux")}, .merged = QStringLiteral("# learned\nlinuks -> Linux\n# learned\ngithab -> GitHub\nBerlin"), .added = {QStringLiteral("githab"), QStringLiteral("linuks")}},
                      Case{.name = "KnownAfterFullCaseFolding", .dictionary = QStringLiteral("strasse -> Straße"), .learned = {entry("STRASSE", "STRASSE")}, .merged = std::nullopt, .added = {}},
                      Case{.name = "SameEntryTwiceInOneDelivery", .dictionary = QString(), .learned = {entry("githab", "GitHub"), entry("GITHAB", "github")}, .merged = QStringLiteral("# learned\ngithab -> GitHub"), .added = {QStringLiteral("githab")}},
                      Case{.name = "BareTermIsNoHeardForm", .dictionary = QStringLiteral("Quenda"), .learned = {entry("kwenda", "Quenda")}, .merged = QStringLiteral("# learned\nkwenda -> Quenda\nQuenda"), .added = {QStringLiteral("kwenda")}},
                      Case{.name = "OnlyCommentsAppendsBelow", .dictionary = QStringLiteral("# leer"), .learned = {entry("kwenda", "Quenda")}, .merged = QStringLiteral("# leer\n# learned\nkwenda -> Quenda"), .added = {QStringLiteral("kwenda")}},
                      Case{.name = "WindowsLineBreaksKept", .dictionary = QStringLiteral("# Kopf\r\nBerlin\r\n"), .learned = {entry("kwenda", "Quenda")}, .merged = QStringLiteral("# Kopf\r\n# learned\r\nkwenda -> Quenda\r\nBerlin\r\n"), .added = {QStringLiteral("kwenda")}},
                      // Written as "a -> b -> c", it would read back as heard "a" and term "b -> c".
                      Case{.name = "HeardFormWithArrowIsNotWritten", .dictionary = QStringLiteral("Berlin"), .learned = {entry("a -> b", "c")}, .merged = std::nullopt, .added = {}},
                      Case{.name = "HeardFormThatReadsAsACommentIsNotWritten", .dictionary = QStringLiteral("Berlin"), .learned = {entry("#kwenda", "Quenda")}, .merged = std::nullopt, .added = {}},
                      Case{.name = "LineBreakInAnEntryIsNotWritten", .dictionary = QStringLiteral("Berlin"), .learned = {entry("kwenda\nBerlin", "Quenda")}, .merged = std::nullopt, .added = {}},
                      Case{.name = "UnwritableEntrySkippedOthersKept",
             // clang-format on
             .dictionary = QStringLiteral("Berlin"),
             .learned = {entry("a -> b", "c"), entry("kwenda", "Quenda")},
             .merged = QStringLiteral("# learned\nkwenda -> Quenda\nBerlin"),
             .added = {QStringLiteral("kwenda")}}),
    [](const ::testing::TestParamInfo<Case>& info) { return std::string(info.param.name); });

TEST(LearnedEntries, SummaryNamesTheFirstThree)
{
    const QList<DictionaryItem> added{entry("kwenda", "Quenda"), entry("githab", "GitHub"),
                                      entry("", "Berlin"), entry("linuks", "Linux")};
    EXPECT_EQ(LearnedEntries::summary(added),
              QStringLiteral("kwenda \u2192 Quenda, githab \u2192 GitHub, Berlin"));
}

} // namespace
