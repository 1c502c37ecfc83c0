#include "core/quenda_note.h"

#include <gtest/gtest.h>

namespace {

QString s(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

const QString ellipsis = QString(QChar(0x2026));
// "e" with a combining acute: two code units, one grapheme cluster.
const QString eAcute = s("e\xCC\x81");
const QString thumbsUp = s("\xF0\x9F\x91\x8D");

struct TitleCase {
    const char* name;
    QString text;
    QString title;
};

void PrintTo(const TitleCase& c, std::ostream* os)
{
    *os << c.name;
}

class DerivedTitle : public ::testing::TestWithParam<TitleCase> {};

} // namespace

TEST_P(DerivedTitle, FollowsTheFirstNonEmptyLine)
{
    EXPECT_EQ(QuendaNote::derivedTitle(GetParam().text), GetParam().title);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, DerivedTitle,
    ::testing::Values(
        TitleCase{"OnlyBreaks", s("\n\r\n\n"), {}},
        TitleCase{"LeadingBlankLinesAreSkipped", s("\n\r\n  first  \nsecond"), s("first")},
        // A first non-empty line of spaces ends the search; the later text is not used.
        TitleCase{"BlankFirstLineGivesEmpty", s("   \ntext"), {}},
        TitleCase{"UnicodeLineSeparator", s("one\xE2\x80\xA8two"), s("one")},
        TitleCase{"NextLine", s("one\xC2\x85two"), s("one")}, TitleCase{"FormFeed", s("one\ftwo"), s("one")},
        TitleCase{"Exactly80StaysWhole", QString(80, QLatin1Char('a')), QString(80, QLatin1Char('a'))},
        TitleCase{"81IsCut", QString(81, QLatin1Char('a')), QString(80, QLatin1Char('a')) + ellipsis},
        TitleCase{"CombiningMarksCountOnce", eAcute.repeated(80), eAcute.repeated(80)},
        TitleCase{"CombiningMarksAreNotSplit", eAcute.repeated(81), eAcute.repeated(80) + ellipsis},
        TitleCase{"EmojiAreNotSplit", thumbsUp.repeated(81), thumbsUp.repeated(80) + ellipsis}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(QuendaNoteTest, ListTitleTrimsTheTitleOrDerivesFromTheBody)
{
    QuendaNote note{QUuid::createUuid(), {}, {}, s("  word  "), s("body line")};
    EXPECT_EQ(note.listTitle(), s("word"));
    note.title = s(" \n ");
    EXPECT_EQ(note.listTitle(), s("body line"));
}

TEST(QuendaNoteTest, DecodingRequiresEveryKeyWithItsType)
{
    const QDateTime at(QDate(2025, 3, 1), QTime(8, 15, 30), Qt::UTC);
    const QuendaNote note{QUuid::createUuid(), at, at.addSecs(90), s("t \"q\""), s("b")};
    const QJsonObject good = *note.toJson();
    EXPECT_EQ(good.value(QStringLiteral("created")).toString(), s("2025-03-01T08:15:30Z"));
    EXPECT_EQ(QuendaNote::fromJson(good), note);
    for (const char* key : {"id", "created", "updated", "title", "body"}) {
        QJsonObject missing = good;
        missing.remove(s(key));
        EXPECT_FALSE(QuendaNote::fromJson(missing)) << key;
        QJsonObject wrongType = good;
        wrongType.insert(s(key), 42);
        EXPECT_FALSE(QuendaNote::fromJson(wrongType)) << key;
    }
}
