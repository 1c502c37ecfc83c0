#include "core/text/text_format.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

struct FormatCase {
    const char* pattern;
    QLocale locale;
    QVariantList arguments;
    const char* expected;
};

void check(const std::vector<FormatCase>& cases)
{
    for (const FormatCase& c : cases)
        EXPECT_EQ(TextFormat::format(QString::fromUtf8(c.pattern), c.locale, c.arguments),
                  QString::fromUtf8(c.expected))
            << c.pattern;
}

const QLocale en(QLocale::English, QLocale::UnitedStates);
const QLocale de(QLocale::German, QLocale::Germany);

TEST(TextFormat, FillsConversionsInTheLocale)
{
    check({{"%d", de, {1234567}, "1234567"}, // no grouping
           {"%d", en, {Q_INT64_C(9000000000)}, "9000000000"},
           {"%lld", en, {std::numeric_limits<qint64>::min()}, "-9223372036854775808"},
           {"%lu", en, {std::numeric_limits<quint64>::max()}, "18446744073709551615"},
           {"[%04d|%-4d]", en, {-5, 7}, "[-005|7   ]"},
           {"%.1f %.2e", en, {3, 12345.0}, "3.0 1.23e+04"},
           {"%.1f", de, {-0.5}, "-0,5"},
           {"%.2s %@", de, {QStringLiteral("abcdef"), 2.5}, "ab 2,5"},
           {"100%% sure", en, {}, "100% sure"},
           {"%2$d of %1$@", en, {QStringLiteral("x"), 3}, "3 of x"},
           // An argument is never read again as a pattern.
           {"%@", en, {QStringLiteral("50%d")}, "50%d"}});
}

// Table texts come from a user-writable folder: a conversion that does not fit its argument
// prints the argument, and what cannot be filled stays visible instead of reading garbage.
TEST(TextFormat, MismatchesNeverReadTheWrongThing)
{
    check({{"%d min", en, {QStringLiteral("five")}, "five min"},
           {"%d", de, {2.5}, "2,5"},
           {"%d and %d", en, {1}, "1 and %d"},
           {"%3$@ %0$d", en, {QStringLiteral("a")}, "%3$@ %0$d"},
           {"%k %d %x", en, {7, 255}, "%k 7 %x"},
           {"100%", en, {}, "100%"},
           {"%999999999d %.500f %*d", en, {1, 1.0, 3}, "%999999999d %.500f %*d"},
           {"[%@]", en, {QVariant()}, "[]"}});
}

} // namespace
