#include "dictation/learn/dictionary_edits.h"

#include <QStringList>

#include <gtest/gtest.h>

#include <ostream>

namespace {

QString render(const QList<DictionaryItem>& items)
{
    QStringList lines;
    for (const DictionaryItem& item : items)
        lines.append(item.heardAs + QStringLiteral(" -> ") + item.term);
    return lines.join(QStringLiteral("; "));
}

struct LearnCase {
    const char* name;
    QString inserted;
    QString edited;
    QString learned; // "heard -> term; ..."; empty for nothing
};

void PrintTo(const LearnCase& c, std::ostream* os)
{
    *os << c.name;
}

class LearnFromEdit : public ::testing::TestWithParam<LearnCase> {};

TEST_P(LearnFromEdit, LearnsOnlySmallPlausibleSubstitutions)
{
    const LearnCase& c = GetParam();
    EXPECT_EQ(render(DictionaryEdits::learn(c.inserted, c.edited)).toStdString(), c.learned.toStdString());
}

QString tenWords()
{
    return QStringLiteral("eins zwei drei vier fünf sechs sieben acht neun zehn");
}

// A long dictation whose word 2500 of 5000 was corrected.
QString longText(const QString& middle)
{
    const QString half = QStringLiteral("wort ").repeated(2500);
    return half + middle + QLatin1Char(' ') + half.trimmed();
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LearnFromEdit,
    ::testing::Values(
        // clang-format off
        LearnCase{.name = "OneMisheardWordOfFive", .inserted = QStringLiteral("Ich benutze kwenda jeden Tag"), .edited = QStringLiteral("Ich benutze Quenda jeden Tag"), .learned = QStringLiteral("kwenda -> Quenda")},
        LearnCase{.name = "SingleWordReplacedIsConsidered", .inserted = QStringLiteral("kwenda"), .edited = QStringLiteral("Quenda"), .learned = QStringLiteral("kwenda -> Quenda")},
        LearnCase{.name = "SingleWordReplacedByAnotherWordIsNot", .inserted = QStringLiteral("Hallo"), .edited = QStringLiteral("Tschüss"), .learned = QString()},
        LearnCase{.name = "FourOfTenReplacedInOneRunIsARewrite", .inserted = tenWords(), .edited = QStringLiteral("eins zwei drei Vier Fünf Sechs Sieben acht neun zehn"), .learned = QString()},
        LearnCase{.name = "ThreeOfSixReplacedInOneRunIsStillConsidered", .inserted = QStringLiteral("eins zwei drei vier fünf sechs"), .edited = QStringLiteral("eins zwei Drei Vier Fünf sechs"), .learned = QStringLiteral("drei vier fünf -> Drei Vier Fünf")},
        LearnCase{.name = "PureInsertion", .inserted = QStringLiteral("Ich mag Quenda"), .edited = QStringLiteral("Ich mag Quenda sehr"), .learned = QString()},
        LearnCase{.name = "CaseOnly", .inserted = QStringLiteral("ich mag quenda"), .edited = QStringLiteral("ich mag Quenda"), .learned = QStringLiteral("quenda -> Quenda")},
        LearnCase{.name = "TrailingPunctuationStaysOut", .inserted = QStringLiteral("Ich mag kwenda."), .edited = QStringLiteral("Ich mag Quenda."), .learned = QStringLiteral("kwenda -> Quenda")},
        // Two substitutions get no small-text allowance: 3 of 5 words kept is too little.
        LearnCase{.name = "TwoCorrectionsInFiveWordsAreARewrite", .inserted = QStringLiteral("ich nutze kwenda und githab"), .edited = QStringLiteral("ich nutze Quenda und GitHub"), .learned = QString()},
        LearnCase{.name = "AtMostThreeInTextOrder", .inserted = QStringLiteral("kwenda und githab und linuks und kubuntu sind hier alle " "zusammen jetzt heute morgen"), .edited = QStringLiteral("Quenda und GitHub und Linux und Kubuntu2 sind hier alle " "zusammen jetzt heute morgen"), .learned = QStringLiteral("kwenda -> Quenda; githab -> GitHub; linuks -> Linux")},
        LearnCase{.name = "RejectedPairDoesNotUseUpTheThree", .inserted = QStringLiteral("Hallo und kwenda und githab und linuks sind hier alle zusammen " "heute morgen jetzt"), .edited = QStringLiteral("Tschüss und Quenda und GitHub und Linux sind hier alle zusammen " "heute morgen jetzt"), .learned = QStringLiteral("kwenda -> Quenda; githab -> GitHub; linuks -> Linux")},
        LearnCase{.name = "Unchanged", .inserted = QStringLiteral("Ich mag Quenda"), .edited = QStringLiteral("Ich  mag\nQuenda "), .learned = QString()},
        // clang-format on
        // Beyond the table's bound unless the unchanged ends are set aside first.
        LearnCase{.name = "OneCorrectionInALongDictation",
                  .inserted = longText(QStringLiteral("kwenda")),
                  .edited = longText(QStringLiteral("Quenda")),
                  .learned = QStringLiteral("kwenda -> Quenda")}),
    [](const ::testing::TestParamInfo<LearnCase>& info) { return std::string(info.param.name); });

struct ItemCase {
    const char* name;
    QString heard;
    QString term;
    QString learned; // "heard -> term", empty for none
};

void PrintTo(const ItemCase& c, std::ostream* os)
{
    *os << c.name;
}

class ItemRules : public ::testing::TestWithParam<ItemCase> {};

TEST_P(ItemRules, AcceptsOnlyMisheardLookingPairs)
{
    const ItemCase& c = GetParam();
    const auto item = DictionaryEdits::item(c.heard, c.term);
    EXPECT_EQ(item ? render({*item}).toStdString() : std::string(), c.learned.toStdString());
}

QString decomposedE(int times, bool capital)
{
    return (capital ? QStringLiteral("E\u0301") : QStringLiteral("e\u0301")).repeated(times);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ItemRules,
    ::testing::Values(ItemCase{.name = "CloseSpelling",
                               .heard = QStringLiteral("kwenda"),
                               .term = QStringLiteral("Quenda"),
                               .learned = QStringLiteral("kwenda -> Quenda")},
                      // clang-format off
                      ItemCase{.name = "DistanceRatioExactly045", .heard = QStringLiteral("a").repeated(20), .term = QStringLiteral("b").repeated(9) + QStringLiteral("a").repeated(11), .learned = QStringLiteral("a").repeated(20) + QStringLiteral(" -> ") + QStringLiteral("b").repeated(9) + QStringLiteral("a").repeated(11)},
                      ItemCase{.name = "DistanceRatio050", .heard = QStringLiteral("a").repeated(20), .term = QStringLiteral("b").repeated(10) + QStringLiteral("a").repeated(10), .learned = QString()},
                      ItemCase{.name = "CapitalTermAllows060", .heard = QStringLiteral("kwend"), .term = QStringLiteral("Quenn"), .learned = QStringLiteral("kwend -> Quenn")},
                      ItemCase{.name = "BothLowerCaseAt060", .heard = QStringLiteral("kwend"), .term = QStringLiteral("quenn"), .learned = QString()},
                      ItemCase{.name = "CapitalHeardAt060", .heard = QStringLiteral("Kwend"), .term = QStringLiteral("Quenn"), .learned = QString()},
                      ItemCase{.name = "CapitalTermAt080", .heard = QStringLiteral("kwend"), .term = QStringLiteral("Quxnn"), .learned = QString()},
                      ItemCase{.name = "HeardOfTwoCharacters", .heard = QStringLiteral("ab"), .term = QStringLiteral("abc"), .learned = QString()},
                      ItemCase{.name = "TermOfOneCharacter", .heard = QStringLiteral("abc"), .term = QStringLiteral("x"), .learned = QString()},
                      ItemCase{.name = "ShortCaseOnlyChange", .heard = QStringLiteral("ai"), .term = QStringLiteral("AI"), .learned = QStringLiteral("ai -> AI")},
                      ItemCase{.name = "CaseOnlyAt48", .heard = QStringLiteral("x").repeated(48), .term = QStringLiteral("X").repeated(48), .learned = QStringLiteral("x").repeated(48) + QStringLiteral(" -> ") + QStringLiteral("X").repeated(48)},
                      ItemCase{.name = "CaseOnlyAt49", .heard = QStringLiteral("x").repeated(49), .term = QStringLiteral("X").repeated(49), .learned = QString()},
                      // 48 characters of 96 UTF-16 units: counted as UTF-16 they would be too long.
                      ItemCase{.name = "CombiningAccentsCountAsOneCharacter", .heard = decomposedE(48, false), .term = decomposedE(48, true), .learned = decomposedE(48, false) + QStringLiteral(" -> ") + decomposedE(48, true)},
                      // Two Fraktur letters are four UTF-16 units but two characters: too short a heard form.
                      ItemCase{.name = "NonBmpLettersCountAsOneCharacter", .heard = QStringLiteral("\U0001D51E\U0001D51F"), .term = QStringLiteral("\U0001D51E\U0001D520"), .learned = QString()},
                      ItemCase{.name = "EdgeMarksTrimmed", .heard = QStringLiteral("(kwenda),"), .term = QStringLiteral("«Quenda»!"), .learned = QStringLiteral("kwenda -> Quenda")},
                      ItemCase{.name = "NonBmpSymbolTrimmed", .heard = QStringLiteral("kwenda\U0001F4DD"), .term = QStringLiteral("Quenda"), .learned = QStringLiteral("kwenda -> Quenda")},
                      ItemCase{.name = "EqualAfterTrimming", .heard = QStringLiteral("kwenda"), .term = QStringLiteral("kwenda!"), .learned = QString()},
                      ItemCase{.name = "OnlyPunctuation", .heard = QStringLiteral("..."), .term = QStringLiteral("!"), .learned = QString()},
                      // clang-format on
                      // "a->b -> A->B" would read back as heard "a", term "b -> A->B".
                      ItemCase{.name = "HeardHoldingTheArrow",
                               .heard = QStringLiteral("a->b"),
                               .term = QStringLiteral("A->B"),
                               .learned = QString()}),
    [](const ::testing::TestParamInfo<ItemCase>& info) { return std::string(info.param.name); });

} // namespace
