#include "accessibility_printers.h"
#include "platform/linux/atspi/selection_rewrite.h"
#include "test_text.h"

#include <gtest/gtest.h>

namespace {

using Outcome = Accessibility::WriteOutcome;

// A field that answers the rewrite's steps, with the failures a real application shows.
struct Field {
    QString text;
    int caret = -1;
    bool refuseInsert = false;
    bool insertTimesOutButLands = false;
    bool refusePutBack = false;
    int inserts = 0;

    SelectionRewrite::Steps steps()
    {
        return {
            .read = [this](int start, int end) -> std::optional<QString> {
                if (end > text.size())
                    return std::nullopt;
                return text.mid(start, end - start);
            },
            .remove =
                [this](int start, int end) {
                    text.remove(start, end - start);
                    return true;
                },
            .insert = [this](int position, const QString& inserted) -> std::optional<bool> {
                const bool putBack = inserts++ > 0;
                if ((putBack && refusePutBack) || (!putBack && refuseInsert))
                    return false;
                text.insert(position, inserted);
                if (!putBack && insertTimesOutButLands)
                    return std::nullopt;
                return true;
            },
            .moveCaret =
                [this](int offset) {
                    caret = offset;
                    return true;
                },
        };
    }
};

struct Case {
    const char* name;
    Field field;
    Outcome outcome;
    QString text;
    int caret;
};

TEST(SelectionRewrite, ReplacesTheSelectionAndNeverLosesItSilently)
{
    // "hello world" with "world" (6..11) selected, replaced by "there".
    const QString original = s("hello world");
    // clang-format off
    Case cases[] = {
        {.name = "written", .field = {.text = original}, .outcome = Outcome::Done, .text = s("hello there"), .caret = 11},
        {.name = "refused insert puts the selection back", .field = {.text = original, .refuseInsert = true}, .outcome = Outcome::Failed, .text = original, .caret = -1},
        {.name = "late insert is not doubled", .field = {.text = original, .insertTimesOutButLands = true}, .outcome = Outcome::Done, .text = s("hello there"), .caret = 11},
        {.name = "refused put-back is reported", .field = {.text = original, .refuseInsert = true, .refusePutBack = true}, .outcome = Outcome::SelectionLost, .text = s("hello "), .caret = -1},
    };
    // clang-format on
    for (Case& c : cases) {
        EXPECT_EQ(SelectionRewrite::apply(c.field.steps(), 6, 11, s("there"), 5), c.outcome) << c.name;
        EXPECT_EQ(c.field.text, c.text) << c.name;
        EXPECT_EQ(c.field.caret, c.caret) << c.name;
    }
}

TEST(SelectionRewrite, AtTheCaretInsertsAndMovesTheCaretByTheApplicationsLength)
{
    Field field{.text = s("ab")};
    // The emoji counts one in an application that counts code points.
    EXPECT_EQ(SelectionRewrite::apply(field.steps(), 1, 1, s("😀"), 1), Outcome::Done);
    EXPECT_EQ(field.text, s("a😀b"));
    EXPECT_EQ(field.caret, 2);
}

} // namespace
