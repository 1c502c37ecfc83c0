#include "platform/linux/atspi/text_offsets.h"
#include "test_text.h"

#include <gtest/gtest.h>

namespace {

using TextOffsets::Unit;

// "a😀b": the emoji is one code point but two UTF-16 units.
const QString emoji = s("a😀b");

struct FromUtf16Case {
    const char* name;
    QString text;
    Unit unit;
    int utf16;
    std::optional<int> expected;
};

TEST(TextOffsets, Utf16PositionsBecomeTheApplicationsOwn)
{
    // clang-format off
    const FromUtf16Case cases[] = {
        {.name = "after the emoji", .text = emoji, .unit = Unit::CodePoints, .utf16 = 3, .expected = 2},
        {.name = "end", .text = emoji, .unit = Unit::CodePoints, .utf16 = 4, .expected = 3},
        {.name = "inside the pair", .text = emoji, .unit = Unit::CodePoints, .utf16 = 2, .expected = std::nullopt},
        {.name = "past the end", .text = emoji, .unit = Unit::CodePoints, .utf16 = 5, .expected = std::nullopt},
        {.name = "negative", .text = emoji, .unit = Unit::CodePoints, .utf16 = -1, .expected = std::nullopt},
        {.name = "two emoji", .text = s("😀😀x"), .unit = Unit::CodePoints, .utf16 = 4, .expected = 2},
        {.name = "utf16 toolkit", .text = emoji, .unit = Unit::Utf16, .utf16 = 3, .expected = 3},
    };
    // clang-format on
    for (const auto& c : cases)
        EXPECT_EQ(TextOffsets::fromUtf16(c.unit, c.text, c.utf16), c.expected) << c.name;
}

struct ToUtf16Case {
    const char* name;
    QString text;
    Unit unit;
    int offset;
    std::optional<int> expected;
};

TEST(TextOffsets, TheApplicationsPositionsBecomeUtf16)
{
    // clang-format off
    const ToUtf16Case cases[] = {
        {.name = "selecting b", .text = emoji, .unit = Unit::CodePoints, .offset = 2, .expected = 3},
        {.name = "end", .text = emoji, .unit = Unit::CodePoints, .offset = 3, .expected = 4},
        {.name = "past the end", .text = emoji, .unit = Unit::CodePoints, .offset = 4, .expected = std::nullopt},
        {.name = "lone high surrogate", .text = QString(QChar(0xD83D)) + s("b"), .unit = Unit::CodePoints, .offset = 1, .expected = 1},
        {.name = "utf16 toolkit", .text = emoji, .unit = Unit::Utf16, .offset = 2, .expected = 2},
        {.name = "utf16 past the end", .text = emoji, .unit = Unit::Utf16, .offset = 5, .expected = std::nullopt},
    };
    // clang-format on
    for (const auto& c : cases)
        EXPECT_EQ(TextOffsets::toUtf16(c.unit, c.text, c.offset), c.expected) << c.name;
}

TEST(TextOffsets, LengthCountsAnEmojiOnceInCodePoints)
{
    EXPECT_EQ(TextOffsets::length(Unit::CodePoints, s("ü😀")), 2);
    EXPECT_EQ(TextOffsets::length(Unit::Utf16, s("ü😀")), 3);
}

} // namespace
