#include "fake_desktop.h"
#include "temp_support_dir.h"
#include "test_text.h"

#include <gtest/gtest.h>

namespace {

using Element = FakeAccessibility::Element;
using Outcome = InsertResult::Outcome;
using Failure = TextInserter::WriteBackFailure;

class RememberedTargetTest : public TempSupportDir {
protected:
    // "please fix teh typo" with "teh" selected, remembered as the target.
    // `beforeAnswer` runs while the field's answer is still on its way.
    AccessibleElement rememberField(std::function<void(Element&)> change = {},
                                    std::function<void(FakeDesktop&)> beforeAnswer = {})
    {
        Element field = FakeAccessibility::field(s("please fix teh typo"), {11, 3});
        if (change)
            change(field);
        const AccessibleElement handle = m_desk.focus(field);
        m_desk.inserter.rememberInsertTarget();
        if (beforeAnswer)
            beforeAnswer(m_desk);
        m_desk.pump(1);
        return handle;
    }
    // The overlay or another field took the focus meanwhile.
    void focusElsewhere() { m_desk.focus(FakeAccessibility::field(s("elsewhere"), {9, 0})); }

    FakeDesktop m_desk;
    QObject m_context;
};

TEST_F(RememberedTargetTest, WritesOverTheRememberedSelectionOnlyWhileItStillHoldsTheCapturedText)
{
    struct Case {
        const char* name = {};
        std::function<void(Element&)> field = {};
        std::function<void(FakeDesktop&, const AccessibleElement&)> meanwhile = {};
        std::optional<Failure> failure = {};
        QString text = {};
        std::function<void(FakeDesktop&)> beforeAnswer = {};
    };
    const auto userTyped = [](FakeDesktop& d, const AccessibleElement& f) {
        d.a11y.edit(f, [](Element& e) {
            e.text = s("please fix the typo");
            e.selection = {14, 0};
        });
    };
    const Case cases[] = {
        {.name = "unchanged", .text = s("please fix the typo")},
        {.name = "user corrected it",
         .meanwhile = userTyped,
         .failure = Failure::FieldChanged,
         .text = s("please fix the typo")},
        {.name = "user typed elsewhere in the field",
         .meanwhile =
             [](FakeDesktop& d, const AccessibleElement& f) {
                 d.a11y.edit(f, [](Element& e) { e.text.prepend(s("now ")); });
             },
         .failure = Failure::FieldChanged,
         .text = s("now please fix teh typo")},
        {.name = "read-only",
         .field = [](Element& e) { e.editable = false; },
         .failure = Failure::NotSettable,
         .text = s("please fix teh typo")},
        {.name = "field closed",
         .meanwhile = [](FakeDesktop& d, const AccessibleElement& f) { d.a11y.remove(f); },
         .failure = Failure::NotSettable,
         .text = {}},
        // clang-format off
        {.name = "typed after it, the range still reads the same", .meanwhile = [](FakeDesktop& d, const AccessibleElement& f) { d.a11y.edit(f, [](Element& e) { e.text.append(s(" now")); }); }, .failure = Failure::FieldChanged, .text = s("please fix teh typo now")},
        {.name = "our own window", .field = [](Element& e) { e.pid = FakeDesktop::ownPid; }, .failure = Failure::NothingRemembered, .text = s("please fix teh typo")},
        {.name = "a newer start that found nothing", .failure = Failure::NothingRemembered, .text = s("please fix teh typo"), .beforeAnswer = [](FakeDesktop& d) { d.permissions.trusted = false, d.inserter.rememberInsertTarget(), d.permissions.trusted = true; }},
        // clang-format on
    };
    for (const Case& c : cases) {
        const AccessibleElement field = rememberField(c.field, c.beforeAnswer);
        focusElsewhere();
        if (c.meanwhile)
            c.meanwhile(m_desk, field);
        std::optional<TextInserter::WrittenBack> written;
        m_desk.inserter.replaceRememberedSelection(s("the"), &m_context,
                                                   [&](const TextInserter::WrittenBack& w) { written = w; });
        m_desk.pump(1);
        ASSERT_TRUE(written) << c.name;
        EXPECT_EQ(written->ok(), !c.failure) << c.name;
        if (c.failure && !written->ok()) {
            EXPECT_EQ(written->error(), *c.failure) << c.name;
        }
        if (!c.text.isEmpty()) {
            EXPECT_EQ(m_desk.textOf(field), c.text) << c.name;
        }
    }
}

TEST_F(RememberedTargetTest, InsertingAtTheRememberedCursorNeverOverwritesTheUsersEdit)
{
    struct Case {
        const char* name = {};
        std::function<void(Element&)> field = {};
        bool userTyped = {};
        Outcome outcome = {};
        QString text = {};
    };
    const Case cases[] = {
        {.name = "written by accessibility", .outcome = Outcome::Written, .text = s("please fix the typo")},
        // Pasted over the remembered selection, which the focus gave back.
        {.name = "not settable, pasted",
         .field = [](Element& e) { e.editable = false; },
         .outcome = Outcome::Pasted,
         .text = s("please fix the typo")},
        // Pasted at the user's caret, after their edit.
        {.name = "edited, pasted at the caret",
         .userTyped = true,
         .outcome = Outcome::Pasted,
         .text = s("please fix ouchthe typo")},
    };
    for (const Case& c : cases) {
        const AccessibleElement field = rememberField(c.field);
        focusElsewhere();
        if (c.userTyped)
            m_desk.a11y.edit(field, [](Element& e) {
                e.text = s("please fix ouch typo");
                e.selection = {15, 0};
            });
        std::optional<InsertResult> result;
        m_desk.inserter.insertAtRememberedCursor(s("the"), std::nullopt, &m_context,
                                                 [&](const InsertResult& r) { result = r; });
        m_desk.pump(TextInserter::activationDelayMs + 10);
        ASSERT_TRUE(result) << c.name;
        EXPECT_EQ(result->outcome, c.outcome) << c.name;
        EXPECT_EQ(m_desk.textOf(field), c.text) << c.name;
        m_desk.pump(2000);
    }
}

TEST_F(RememberedTargetTest, ActivatesTheRememberedApplicationOrTheFallbackWhenItHasQuit)
{
    const AppWindow editor{.window = 11,
                           .app = {s("org.example.Editor"), s("Editor")},
                           .pid = 4242,
                           .windowClass = {},
                           .terminal = false};
    const AppWindow notes{.window = 12,
                          .app = {s("org.example.Notes"), s("Notes")},
                          .pid = 5151,
                          .windowClass = {},
                          .terminal = false};
    const AppWindow own{.window = 13,
                        .app = {},
                        .pid = static_cast<int>(FakeDesktop::ownPid),
                        .windowClass = {},
                        .terminal = false};
    struct Case {
        const char* name = {};
        QList<AppWindow> windows = {};
        qint64 rememberedPid = {};
        std::optional<QString> fallback = {};
        std::optional<AppWindow> activated = {};
    };
    const Case cases[] = {
        {.name = "still runs",
         .windows = {notes, editor},
         .rememberedPid = 4242,
         .fallback = s("org.example.Notes"),
         .activated = editor},
        {.name = "quit, fallback runs",
         .windows = {notes},
         .rememberedPid = 4242,
         .fallback = s("org.example.Notes"),
         .activated = notes},
        {.name = "quit, no fallback",
         .windows = {notes},
         .rememberedPid = 4242,
         .fallback = std::nullopt,
         .activated = std::nullopt},
        {.name = "our own window is never the target",
         .windows = {own},
         .rememberedPid = FakeDesktop::ownPid,
         .fallback = std::nullopt,
         .activated = std::nullopt},
    };
    for (const Case& c : cases) {
        rememberField([&](Element& e) { e.pid = c.rememberedPid; });
        m_desk.windows.setWindows(c.windows);
        const TextInserter::Activation activation = m_desk.inserter.activateRememberedApp(c.fallback);
        EXPECT_EQ(activation.ok(), c.activated.has_value()) << c.name;
        if (c.activated && activation.ok()) {
            EXPECT_EQ(activation.value(), *c.activated) << c.name;
        }
    }
}

// A dictation into a field of our own (the note editor, never remembered as a target) is pasted, and one into
// the remembered field of another application is written there: both get the space and case of their place.
TEST_F(RememberedTargetTest, TheTextAtTheRememberedCursorGetsTheSpaceAndCaseOfItsPlace)
{
    struct Row {
        const char* name;
        qint64 pid;
        Outcome outcome;
    };
    // clang-format off
    const Row rows[] = {{.name = "our own note editor",        .pid = FakeDesktop::ownPid, .outcome = Outcome::Pasted},
                        {.name = "another application's field", .pid = 4242,               .outcome = Outcome::Written}};
    // clang-format on
    for (const Row& row : rows) {
        const AccessibleElement field = rememberField([&](Element& e) {
            e.text = s("Buy milk.");
            e.selection = {9, 0};
            e.pid = row.pid;
        });
        std::optional<InsertResult> result;
        m_desk.inserter.insertAtRememberedCursor(
            [](const CaretContext& caret) { return caret.spaced(caret.cased(s("and some bread."), {})); },
            std::nullopt, &m_context, [&](const InsertResult& r) { result = r; });
        m_desk.pump(TextInserter::activationDelayMs + 10);
        ASSERT_TRUE(result) << row.name;
        EXPECT_EQ(result->outcome, row.outcome) << row.name;
        EXPECT_EQ(m_desk.textOf(field), s("Buy milk. And some bread.")) << row.name;
        m_desk.pump(2000);
    }
}

} // namespace
