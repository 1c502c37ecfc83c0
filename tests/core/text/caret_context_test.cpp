#include "test_text.h"

#include "core/text/caret_context.h"

#include <gtest/gtest.h>

namespace {

// What a dictation turns into where a person typing would have put it: one space between
// sentences, none at the start of a field or line, a small letter inside a sentence.
TEST(CaretContextTest, SpacesAndCasesTheTextAsAPersonTypingWould)
{
    struct Row {
        const char* before;
        bool fromStart;
        const char* text;
        const char* pasted;
    };
    const QStringList keep{s("Kubernetes"), s("iPhone"), s("c#")};
    // clang-format off
    const Row rows[] = {
        {.before = "",                   .fromStart = true,  .text = "the report is done.", .pasted = "The report is done."},
        {.before = "That was easy.",     .fromStart = false, .text = "All nice.",           .pasted = " All nice."},
        {.before = "That was easy. ",    .fromStart = false, .text = "All nice.",           .pasted = "All nice."},
        {.before = "Dear Anna,\n",       .fromStart = false, .text = "thanks.",             .pasted = "Thanks."},
        {.before = "Dear Anna,\n  ",     .fromStart = false, .text = "Thanks.",             .pasted = "Thanks."},
        {.before = "I think",            .fromStart = true,  .text = "The report is done.", .pasted = " the report is done."},
        {.before = "I think ",           .fromStart = true,  .text = "The report is done.", .pasted = "the report is done."},
        {.before = "see (",              .fromStart = true,  .text = "Above.",              .pasted = "above."},
        {.before = "he said \"",         .fromStart = true,  .text = "Yes.",                .pasted = "yes."},
        {.before = "he said \"no.\"",    .fromStart = true,  .text = "then",                .pasted = " Then"},
        {.before = "(see above.)",       .fromStart = true,  .text = "then",                .pasted = " Then"},
        {.before = "Really?",            .fromStart = true,  .text = "then",                .pasted = " Then"},
        {.before = "Really?!",           .fromStart = true,  .text = "then",                .pasted = " Then"},
        {.before = "\"Why?\"",           .fromStart = true,  .text = "then",                .pasted = " Then"},
        {.before = "it was \"fine\"",    .fromStart = true,  .text = "And more.",           .pasted = " and more."},
        {.before = "It is 50%",          .fromStart = true,  .text = ", roughly.",          .pasted = ", roughly."},
        {.before = "so",                 .fromStart = true,  .text = "I think so.",         .pasted = " I think so."},
        {.before = "so",                 .fromStart = true,  .text = "I'm sure.",           .pasted = " I'm sure."},
        {.before = "so",                 .fromStart = true,  .text = "Kubernetes runs.",    .pasted = " Kubernetes runs."},
        {.before = "so",                 .fromStart = true,  .text = "NASA called.",        .pasted = " NASA called."},
        {.before = "so",                 .fromStart = true,  .text = "3 apples.",           .pasted = " 3 apples."},
        {.before = "",                   .fromStart = true,  .text = "iPhone sales.",       .pasted = "iPhone sales."},
        {.before = "Done.",              .fromStart = true,  .text = "c# is next.",         .pasted = " c# is next."},
        // Only blanks were read and the field's start lies further back: nothing is known.
        {.before = "    ",               .fromStart = false, .text = "the end.",            .pasted = "the end."},
        {.before = "word",               .fromStart = false, .text = " Spaced.",            .pasted = " spaced."},
    };
    // clang-format on
    for (const Row& row : rows) {
        const CaretContext context = CaretContext::after(s(row.before), row.fromStart);
        EXPECT_EQ(context.spaced(context.cased(s(row.text), keep)), s(row.pasted)) << row.before;
    }
}

TEST(CaretContextTest, NothingReadLeavesTheTextAsItCame)
{
    const CaretContext unknown;
    EXPECT_EQ(unknown.spaced(unknown.cased(s("The end."), {})), s("The end."));
}

} // namespace
