#include "core/text/command_phrases.h"
#include "core/text/l10n.h"

#include <QRegularExpression>

#include <gtest/gtest.h>

namespace {

L10n::TableSet shippedTables()
{
    return L10n::readTables({QStringLiteral(QUENDA_SOURCE_DIR "/resources/Languages")});
}

// The kinds of argument a text's conversions take, in argument order: i, f or s.
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
    const QList<QChar> ordered = kinds.values();
    return QString(ordered.constData(), ordered.size());
}

// A translation whose conversions differ from the English text would print its argument as
// text, or leave the conversion standing, in one language only. Callers pass exactly the
// arguments listed below.
TEST(ShippedTables, EveryLanguageHasEveryKeyWithTheConversionsItsCallersFill)
{
    const L10n::TableSet tables =
        L10n::readTables({QStringLiteral(QUENDA_SOURCE_DIR "/resources/Languages")});
    ASSERT_TRUE(tables.contains(QStringLiteral("de")));
    const L10n::Table english = tables.value(QStringLiteral("en"));
    for (auto language = tables.begin(); language != tables.end(); ++language) {
        for (auto it = english.begin(); it != english.end(); ++it) {
            ASSERT_TRUE(language->contains(it.key())) << qPrintable(language.key() + u' ' + it.key());
            EXPECT_EQ(argumentKinds(language->value(it.key())), argumentKinds(it.value()))
                << qPrintable(language.key() + u' ' + it.key());
        }
        EXPECT_EQ(language->size(), english.size()) << qPrintable(language.key());
    }
    const std::vector<std::pair<const char*, const char*>> callers{{"time.minutes", "i"},
                                                                   {"time.hours", "f"},
                                                                   {"model.whistle.depth", "i"},
                                                                   {"model.whisper", "s"},
                                                                   {"overlay.drag", "s"}};
    for (const auto& [key, kinds] : callers)
        EXPECT_EQ(argumentKinds(english.value(QString::fromUtf8(key))), QString::fromUtf8(kinds)) << key;
}

// The English texts are British throughout, as "recogniser" and "centre" were first written: no
// American spelling of a word beside the British one.
TEST(ShippedTables, TheEnglishTextsSpellOneWay)
{
    static const QRegularExpression american(
        QStringLiteral(
            R"(\b\w*(recogniz|summariz|organiz|customiz|authoriz|optimiz|realiz|prioritiz|normaliz|)"
            R"(minimiz|maximiz|synchroniz|initializ|localiz|personaliz|memoriz|apologiz|analyz|)"
            R"(center|color|behavior|favor|gray|canceled|canceling|labeled|modeled)\w*)"),
        QRegularExpression::CaseInsensitiveOption);
    const L10n::Table english = shippedTables().value(QStringLiteral("en"));
    for (auto it = english.begin(); it != english.end(); ++it)
        EXPECT_FALSE(american.match(it.value()).hasMatch()) << qPrintable(it.key() + u' ' + it.value());
}

// A text that sends the user to a setting names it by the labels the way there shows.
TEST(ShippedTables, TextsThatPointIntoTheSettingsNameThePlacesAsTheyAreLabelled)
{
    const std::vector<std::pair<const char*, std::vector<const char*>>> pointers{
        {"engine.portTaken", {"nav.settings", "settings.speech.title", "settings.advanced"}},
        {"notice.commandNeedsKey", {"nav.settings", "settings.correction.title"}},
        {"notice.translateNeedsKey", {"nav.settings", "settings.correction.title"}},
        {"notice.translateNeedsModel", {"nav.settings", "settings.correction.title"}},
    };
    const L10n::TableSet tables = shippedTables();
    for (auto language = tables.begin(); language != tables.end(); ++language) {
        for (const auto& [key, labels] : pointers) {
            const QString text = language->value(QString::fromUtf8(key));
            QStringList path;
            for (const char* label : labels)
                path << language->value(QString::fromUtf8(label));
            EXPECT_TRUE(text.contains(path.join(QStringLiteral(" › "))))
                << qPrintable(language.key() + u' ' + text);
        }
    }
}

// The style page's command card quotes what a user may say: each quote is a command the
// classifier's tables know.
TEST(ShippedTables, TheQuotedCommandsAreOnesTheCommandTablesKnow)
{
    static const QRegularExpression quoted(QStringLiteral("[“„]([^”“]+)[”“]"));
    const L10n::TableSet tables = shippedTables();
    for (auto language = tables.begin(); language != tables.end(); ++language) {
        const QString text = language->value(QStringLiteral("style.command.body"));
        int quotes = 0;
        for (const auto& m : quoted.globalMatch(text)) {
            ++quotes;
            EXPECT_TRUE(CommandPhrases::rewriteGroup(CommandPhrases::normalized(m.captured(1))).has_value())
                << qPrintable(language.key() + u' ' + m.captured(1));
        }
        EXPECT_GE(quotes, 2) << qPrintable(language.key());
    }
}

} // namespace
