#include "core/l10n.h"

#include <QRegularExpression>

#include <gtest/gtest.h>

namespace {

const QString kShipped = QStringLiteral(QUENDA_SOURCE_DIR "/resources/Languages");

// The kinds of argument a text's conversions take, in argument order.
QString argumentKinds(const QString& text)
{
    static const QRegularExpression conversion(QStringLiteral(
        R"(%(?:([1-9][0-9]*)\$)?[-+ 0#']*[0-9]*(?:\.[0-9]*)?(?:hh|h|ll|l|q|L|z|t|j)?([diufFeEgG@s%]))"));
    QMap<int, QChar> kinds;
    int next = 0;
    for (const auto& m : conversion.globalMatch(text)) {
        const QChar type = m.captured(2).front();
        if (type == u'%')
            continue;
        const int position = m.captured(1).isEmpty() ? next++ : m.captured(1).toInt() - 1;
        kinds[position] = QStringLiteral("diu").contains(type)  ? u'i'
                          : QStringLiteral("@s").contains(type) ? u's'
                                                                : u'f';
    }
    QString out;
    for (const QChar kind : kinds)
        out += kind;
    return out;
}

// A translation whose conversions differ from the English text would print its argument as
// text, or leave the conversion standing, in one language only.
TEST(ShippedTables, EveryLanguageHasEveryKeyWithTheSameConversions)
{
    const L10n::TableSet tables = L10n::readTables({kShipped});
    ASSERT_TRUE(tables.contains(QStringLiteral("en")));
    ASSERT_TRUE(tables.contains(QStringLiteral("de")));
    const L10n::Table& english = tables[QStringLiteral("en")];
    for (auto language = tables.begin(); language != tables.end(); ++language) {
        for (auto it = english.begin(); it != english.end(); ++it) {
            ASSERT_TRUE(language->contains(it.key())) << qPrintable(language.key() + u' ' + it.key());
            EXPECT_EQ(argumentKinds(language->value(it.key())), argumentKinds(it.value()))
                << qPrintable(language.key() + u' ' + it.key());
        }
        EXPECT_EQ(language->size(), english.size()) << qPrintable(language.key());
    }
}

// Callers pass exactly these arguments.
TEST(ShippedTables, TimeAndModelTextsTakeTheirCallersArguments)
{
    const L10n::Table english = L10n::readTables({kShipped}).value(QStringLiteral("en"));
    const std::vector<std::pair<const char*, const char*>> cases{
        {"time.minutes", "i"}, {"time.hours", "f"}, {"model.whistle.depth", "i"}, {"model.whisper", "s"}};
    for (const auto& [key, kinds] : cases)
        EXPECT_EQ(argumentKinds(english.value(QString::fromUtf8(key))), QString::fromUtf8(kinds)) << key;
}

} // namespace
