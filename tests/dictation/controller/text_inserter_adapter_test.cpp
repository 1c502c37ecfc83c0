#include "dictation/controller/text_inserter_adapter.h"
#include "dictation/insert/fake_desktop.h"
#include "test_text.h"

#include <gtest/gtest.h>

namespace {

using Role = Accessibility::Role;

struct FocusCase {
    const char* name;
    bool trusted;
    bool focused;
    Role role;
    bool textual;
    bool editable;
    bool expected;
};

class FocusTakesText : public ::testing::TestWithParam<FocusCase> {};

// A translation goes into the field only when the field can take it; anything else would be lost.
TEST_P(FocusTakesText, OnlyAnEditableFocusWithAccessTakesText)
{
    const FocusCase& c = GetParam();
    FakeDesktop desk;
    desk.permissions.trusted = c.trusted;
    if (c.focused) {
        FakeAccessibility::Element element = FakeAccessibility::field(s("text"));
        element.role = c.role;
        element.textual = c.textual;
        element.editable = c.editable;
        desk.focus(element);
    }
    TextInserterAdapter adapter(desk.inserter, desk.a11y, desk.permissions);
    QObject context;
    std::optional<bool> answer;
    adapter.focusTakesText(&context, [&](bool takes) { answer = takes; });
    desk.pump(1);
    ASSERT_TRUE(answer.has_value());
    EXPECT_EQ(*answer, c.expected);
}

INSTANTIATE_TEST_SUITE_P(Focus, FocusTakesText,
                         ::testing::Values(FocusCase{.name = "EditableField",
                                                     .trusted = true,
                                                     .focused = true,
                                                     .role = Role::TextField,
                                                     .textual = true,
                                                     .editable = true,
                                                     .expected = true},
                                           // clang-format off
                                           FocusCase{.name = "ReadOnlyText", .trusted = true, .focused = true, .role = Role::Document, .textual = true, .editable = false, .expected = false},
                                           FocusCase{.name = "NoFocus", .trusted = true, .focused = false, .role = Role::TextField, .textual = true, .editable = true, .expected = false},
                                           FocusCase{.name = "NoAccess",
                                                     // clang-format on
                                                     .trusted = false,
                                                     .focused = true,
                                                     .role = Role::TextField,
                                                     .textual = true,
                                                     .editable = true,
                                                     .expected = false}),
                         [](const auto& info) { return std::string(info.param.name); });

// The controller must learn that a paste did not go out, or it would claim the text landed.
TEST(TextInserterAdapter, ATextLeftOnTheClipboardIsNotReportedAsPasted)
{
    FakeDesktop desk;
    desk.permissions.trusted = false;
    TextInserterAdapter adapter(desk.inserter, desk.a11y, desk.permissions);
    QObject context;
    std::optional<Inserter::Landing> landing;
    adapter.insert(Inserter::asIs(s("hello")), &context,
                   [&](const Inserter::Inserted& in) { landing = in.landing; });
    desk.pump(5);
    ASSERT_TRUE(landing.has_value());
    EXPECT_EQ(*landing, Inserter::Landing::KeptOnClipboard);
}

} // namespace
