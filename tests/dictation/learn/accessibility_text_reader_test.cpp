#include "dictation/learn/accessibility_text_reader.h"
#include "platform/fake/fake_accessibility.h"

#include <gtest/gtest.h>

#include <optional>
#include <ostream>

namespace {

using Range = Accessibility::Range;

struct LocateCase {
    const char* name;
    QString field;
    Range selection;
    QString text;
    bool trusted = true;
    bool focused = true;
    // "<location>|<following>", or empty for none.
    QString anchor;
};

void PrintTo(const LocateCase& c, std::ostream* os)
{
    *os << c.name;
}

int caretAfter(const QString& field, const QString& text)
{
    return static_cast<int>(field.indexOf(text) + text.size());
}

class LocateInsert : public ::testing::TestWithParam<LocateCase> {};

TEST_P(LocateInsert, FindsTheTextEndingAtTheCaret)
{
    const LocateCase& c = GetParam();
    FakeAccessibility accessibility;
    const AccessibleElement handle = accessibility.add(FakeAccessibility::field(c.field, c.selection));
    if (c.focused)
        accessibility.setFocused(handle);
    accessibility.setTrusted(c.trusted);
    AccessibilityTextReader reader(accessibility);

    const std::optional<DictationAnchor> anchor = reader.locateInsert(c.text);
    const QString seen = anchor ? QString::number(anchor->location) + u'|' + anchor->following : QString();
    EXPECT_EQ(seen.toStdString(), c.anchor.toStdString());
    if (anchor) {
        EXPECT_EQ(anchor->element, handle);
    }
}

const QString kLongTail = QStringLiteral(" und danach steht hier noch viel mehr Text");

INSTANTIATE_TEST_SUITE_P(
    Cases, LocateInsert,
    ::testing::Values(
        // clang-format off
        LocateCase{.name = "AtTheEndOfTheField", .field = QStringLiteral("Hallo kwenda"), .selection = {12, 0}, .text = QStringLiteral("kwenda"), .anchor = QStringLiteral("6|")},
        LocateCase{.name = "FollowingIsCutTo24Units", .field = QStringLiteral("Hallo kwenda") + kLongTail, .selection = {12, 0}, .text = QStringLiteral("kwenda"), .anchor = QStringLiteral("6|") + kLongTail.first(24)},
        // A read of 24 units past a shorter tail fails; unread, the tail would count as an edit.
        LocateCase{.name = "ShortTailIsReadWhole", .field = QStringLiteral("Hallo kwenda. Ende."), .selection = {13, 0}, .text = QStringLiteral("kwenda."), .anchor = QStringLiteral("6| Ende.")},
        // clang-format on
        LocateCase{
            .name = "PositionsInUtf16Units",
            .field = QStringLiteral("\U0001F4DD kwenda!"),
            .selection = {caretAfter(QStringLiteral("\U0001F4DD kwenda!"), QStringLiteral("kwenda")), 0},
            .text = QStringLiteral("kwenda"),
            .anchor = QStringLiteral("3|!")},
        // clang-format off
        LocateCase{.name = "SelectionIsNoCaret", .field = QStringLiteral("Hallo kwenda"), .selection = {6, 6}, .text = QStringLiteral("kwenda"), .anchor = QString()},
        LocateCase{.name = "CaretCloserToTheStartThanTheText", .field = QStringLiteral("kwenda Hallo"), .selection = {3, 0}, .text = QStringLiteral("kwenda"), .anchor = QString()},
        LocateCase{.name = "OtherTextBeforeTheCaret", .field = QStringLiteral("Hallo Quenda"), .selection = {12, 0}, .text = QStringLiteral("kwenda"), .anchor = QString()},
        LocateCase{.name = "EmptyText", .field = QStringLiteral("Hallo"), .selection = {5, 0}, .text = QString(), .anchor = QString()},
        LocateCase{.name = "Untrusted", .field = QStringLiteral("Hallo kwenda"), .selection = {12, 0}, .text = QStringLiteral("kwenda"), .trusted = false, .anchor = QString()},
        LocateCase{.name = "NothingFocused",
                   // clang-format on
                   .field = QStringLiteral("Hallo kwenda"),
                   .selection = {12, 0},
                   .text = QStringLiteral("kwenda"),
                   .focused = false,
                   .anchor = QString()}),
    [](const ::testing::TestParamInfo<LocateCase>& info) { return std::string(info.param.name); });

struct TextAtCase {
    const char* name;
    QString field;
    int location = 0;
    QString following;
    QString original;
    std::optional<QString> text;
};

void PrintTo(const TextAtCase& c, std::ostream* os)
{
    *os << c.name;
}

class TextAt : public ::testing::TestWithParam<TextAtCase> {};

TEST_P(TextAt, ReadsTheStretchUpToTheFollowingText)
{
    const TextAtCase& c = GetParam();
    FakeAccessibility accessibility;
    const AccessibleElement handle = accessibility.add(FakeAccessibility::field(c.field));
    AccessibilityTextReader reader(accessibility);

    const auto text =
        reader.textAt({.element = handle, .location = c.location, .following = c.following}, c.original);
    EXPECT_EQ(text.value_or(QStringLiteral("<none>")).toStdString(),
              c.text.value_or(QStringLiteral("<none>")).toStdString());
}

const QString kHundred = QStringLiteral("0123456789").repeated(10);

INSTANTIATE_TEST_SUITE_P(Cases, TextAt,
                         ::testing::Values(TextAtCase{.name = "EditMadeTheStretchLonger",
                                                      .field = QStringLiteral("Hallo Quenda App, und mehr"),
                                                      .location = 6,
                                                      .following = QStringLiteral(", und mehr"),
                                                      .original = QStringLiteral("kwenda"),
                                                      .text = QStringLiteral("Quenda App")},
                                           // clang-format off
                                           TextAtCase{.name = "FollowingTextGone", .field = QStringLiteral("Hallo Quenda"), .location = 6, .following = QStringLiteral(", und mehr"), .original = QStringLiteral("kwenda"), .text = std::nullopt},
                                           TextAtCase{.name = "NoFollowingTextReadsOriginalPlus80", .field = QStringLiteral("ab") + kHundred, .location = 2, .following = QString(), .original = QStringLiteral("xyz"), .text = kHundred.first(83)},
                                           TextAtCase{.name = "NoFollowingTextStopsAtTheEnd", .field = QStringLiteral("Hallo Quenda"), .location = 6, .following = QString(), .original = QStringLiteral("kwenda"), .text = QStringLiteral("Quenda")},
                                           TextAtCase{.name = "AnchorPastTheEnd", .field = QStringLiteral("Hallo"), .location = 9, .following = QString(), .original = QStringLiteral("kwenda"), .text = std::nullopt},
                                           TextAtCase{.name = "EmptyOriginal",
                                                      // clang-format on
                                                      .field = QStringLiteral("Hallo"),
                                                      .location = 0,
                                                      .following = QString(),
                                                      .original = QString(),
                                                      .text = std::nullopt}),
                         [](const ::testing::TestParamInfo<TextAtCase>& info) {
                             return std::string(info.param.name);
                         });

} // namespace
