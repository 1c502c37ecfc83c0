#include "test_text.h"

#include "core/text/busy_caption.h"
#include "core/text/l10n.h"

#include <gtest/gtest.h>

namespace {

class BusyCaptionTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        L10n::install({{QStringLiteral(QUENDA_SOURCE_DIR "/resources/Languages")}, {s("en")}});
    }
};

TEST_F(BusyCaptionTest, KnownKeywordsGiveTheirActionWhateverTheCaseAccentsAndPunctuation)
{
    struct Case {
        const char* command;
        const char* key;
    };
    // clang-format off
    const Case cases[] = {
        // The summary row is tried before the shortening row that "kurz" would reach.
        {.command = "Fass das bitte kurz zusammen", .key = "overlay.action.summarize"},
        {.command = "uebersetze das", .key = "overlay.action.translate"},
        {.command = "ÜBERSETZE", .key = "overlay.action.translate"},
        // Decomposed umlaut: U followed by a combining diaeresis.
        {.command = "U\xcc\x88" "bersetz", .key = "overlay.action.translate"},
        {.command = "KÜRZER!", .key = "overlay.action.shorten"},
        {.command = "Förmlich, bitte.", .key = "overlay.action.formal"},
        {.command = "Schreib um", .key = "overlay.action.rewrite"},
        // Punctuation and line breaks between the words of a keyword count as one space.
        {.command = "Schreib-\n\tum", .key = "overlay.action.rewrite"},
        {.command = "Translate and summarize this", .key = "overlay.action.summarize"},
    };
    // clang-format on
    for (const Case& c : cases) {
        const QString expected = L10n::s(s(c.key));
        ASSERT_NE(expected, s(c.key)) << c.key << " has no English text";
        EXPECT_EQ(BusyCaption::forCommand(s(c.command)), expected) << c.command;
    }
}

TEST_F(BusyCaptionTest, UnknownCommandsAreShownAsSpokenAndCutAtTwentyEightGraphemes)
{
    const QString a26(26, u'a');
    struct Case {
        QString command;
        QString shown;
    };
    const Case cases[] = {
        {.command = s("schreib das um"), .shown = s("schreib das um")},
        {.command = s("  Mach ein Gedicht daraus!\n"), .shown = s("Mach ein Gedicht daraus!")},
        {.command = a26 + s("bc"), .shown = a26 + s("bc")},
        {.command = a26 + s("bcd"), .shown = a26 + s("b…")},
        // A cut by UTF-16 units would split the emoji's surrogates or drop its skin tone.
        {.command = a26 + s("👍🏽xy"), .shown = a26 + s("👍🏽…")},
        // ... or leave the accent behind.
        {.command = a26 + s("e\xcc\x81xy"), .shown = a26 + s("e\xcc\x81…")},
        // 28 graphemes in 31 UTF-16 units are short enough.
        {.command = a26 + s("b👍🏽"), .shown = a26 + s("b👍🏽")},
        {.command = QString(), .shown = L10n::s(s("overlay.rewrite"))},
        {.command = s(" \n\t "), .shown = L10n::s(s("overlay.rewrite"))},
    };
    for (const Case& c : cases)
        EXPECT_EQ(BusyCaption::forCommand(c.command), c.shown) << c.command.toStdString();
}

TEST_F(BusyCaptionTest, NormalizingKeepsLettersOfAnyScriptAndSingleSpaces)
{
    struct Case {
        const char* text;
        const char* normalized;
    };
    const Case cases[] = {
        {.text = "  Übersetze,\tdas!  ", .normalized = "ubersetze das"},
        {.text = "a--b\u2028c", .normalized = "a b c"},
        {.text = "日本語 テキスト", .normalized = "日本語 テキスト"},
        {.text = "Nr. 42 ½", .normalized = "nr 42 ½"},
        {.text = "!?", .normalized = ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(BusyCaption::normalized(s(c.text)), s(c.normalized)) << c.text;
}

} // namespace
