#include "core/text_format.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

struct FormatCase {
    const char* name;
    QString pattern;
    QLocale locale;
    QVariantList arguments;
    QString expected;
};

void PrintTo(const FormatCase& c, std::ostream* os)
{
    *os << c.name;
}

const QLocale en(QLocale::English, QLocale::UnitedStates);
const QLocale de(QLocale::German, QLocale::Germany);

QString text(const char* s)
{
    return QString::fromUtf8(s);
}

class TextFormatTest : public ::testing::TestWithParam<FormatCase> {};

TEST_P(TextFormatTest, Fills)
{
    const FormatCase& c = GetParam();
    EXPECT_EQ(TextFormat::format(c.pattern, c.locale, c.arguments), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Conversions, TextFormatTest,
    ::testing::Values(
        FormatCase{"noGrouping", text("%d"), de, {1234567}, text("1234567")},
        // A 64-bit value through %d must not be cut to 32 bits.
        FormatCase{"wideThroughD", text("%d"), en, {Q_INT64_C(9000000000)}, text("9000000000")},
        FormatCase{
            "lowest", text("%lld"), en, {std::numeric_limits<qint64>::min()}, text("-9223372036854775808")},
        FormatCase{"unsignedMax",
                   text("%lu"),
                   en,
                   {std::numeric_limits<quint64>::max()},
                   text("18446744073709551615")},
        FormatCase{"zeroPadAfterSign", text("%04d"), en, {-5}, text("-005")},
        FormatCase{"widthBothSides", text("[%4d|%-4d]"), en, {7, 7}, text("[   7|7   ]")},
        FormatCase{"integerWidensToFloat", text("%.1f"), en, {3}, text("3.0")},
        FormatCase{"exponent", text("%.2e"), en, {12345.0}, text("1.23e+04")},
        FormatCase{"negativeFloat", text("%.1f"), de, {-0.5}, text("-0,5")},
        FormatCase{"object", text("Model %@"), en, {text("tiny")}, text("Model tiny")},
        FormatCase{"textPrecision", text("%.2s"), en, {text("abcdef")}, text("ab")},
        FormatCase{"numberAsObject", text("%@"), de, {2.5}, text("2,5")},
        FormatCase{"percent", text("100%% sure"), en, {}, text("100% sure")},
        FormatCase{"positional", text("%2$@ %1$@"), en, {text("a"), text("b")}, text("b a")},
        FormatCase{"positionalTyped", text("%2$d of %1$@"), en, {text("x"), 3}, text("3 of x")},
        // An argument is never read again as a pattern.
        FormatCase{"argumentHoldsPercent", text("%@"), en, {text("50%d")}, text("50%d")}),
    [](const auto& info) { return std::string(info.param.name); });

// Table texts come from a user-writable folder: a conversion that does not fit its argument
// prints the argument, and what cannot be filled stays visible instead of reading garbage.
INSTANTIATE_TEST_SUITE_P(
    Mismatches, TextFormatTest,
    ::testing::Values(FormatCase{"textForInteger", text("%d min"), en, {text("five")}, text("five min")},
                      FormatCase{"fractionForInteger", text("%d"), de, {2.5}, text("2,5")},
                      FormatCase{"textForFloat", text("%.1f h"), en, {text("x")}, text("x h")},
                      FormatCase{"missingArgument", text("%d and %d"), en, {1}, text("1 and %d")},
                      FormatCase{"positionBeyond", text("%3$@"), en, {text("a")}, text("%3$@")},
                      FormatCase{"positionZero", text("%0$d"), en, {1}, text("%0$d")},
                      FormatCase{"unknownKeepsArgument", text("%k %d"), en, {7}, text("%k 7")},
                      FormatCase{"unsupportedHex", text("%x"), en, {255}, text("%x")},
                      FormatCase{"trailingPercent", text("100%"), en, {}, text("100%")},
                      FormatCase{"hugeWidth", text("%999999999d"), en, {1}, text("%999999999d")},
                      FormatCase{"hugePrecision", text("%.500f"), en, {1.0}, text("%.500f")},
                      FormatCase{"starWidth", text("%*d"), en, {3, 4}, text("%*d")},
                      FormatCase{"invalidVariant", text("[%@]"), en, {QVariant()}, text("[]")}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
