#include "platform/fake/fake_accessibility.h"
#include "platform_linux/atspi/accessibility_printers.h"
#include "test_text.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

#include <memory>

namespace {

using Role = Accessibility::Role;
using Range = Accessibility::Range;
using Element = FakeAccessibility::Element;

Element with(Element element, const std::function<void(Element&)>& change)
{
    change(element);
    return element;
}

void drainEvents()
{
    QCoreApplication::sendPostedEvents();
}

TEST(FakeAccessibility, RunAnswersThroughTheEventLoopAndOnlyWhileTheContextLives)
{
    FakeAccessibility a11y;
    const AccessibleElement field = a11y.add(FakeAccessibility::field(s("hello")));
    auto kept = std::make_unique<QObject>();
    auto gone = std::make_unique<QObject>();
    std::optional<QString> keptAnswer;
    bool goneAnswered = false;
    a11y.run<std::optional<QString>>([field](Accessibility& a) { return a.value(field); }, kept.get(),
                                     [&](std::optional<QString> text) { keptAnswer = text; });
    a11y.run<bool>([](Accessibility& a) { return a.trusted(); }, gone.get(),
                   [&](bool) { goneAnswered = true; });
    EXPECT_FALSE(keptAnswer) << "an answer must never arrive inside the call";
    gone.reset();
    drainEvents();
    EXPECT_EQ(keptAnswer, s("hello"));
    EXPECT_FALSE(goneAnswered);
}

TEST(FakeAccessibility, WritesReplaceTheSelectionUnlessRefused)
{
    FakeAccessibility a11y;
    const AccessibleElement field = a11y.add(FakeAccessibility::field(s("a😀b"), {3, 1}));
    const AccessibleElement locked = a11y.add(
        with(FakeAccessibility::field(s("keep"), {0, 4}), [](Element& e) { e.refusesWrites = true; }));
    const AccessibleElement label = a11y.add(with(FakeAccessibility::field(s("label")), [](Element& e) {
        e.role = Role::Other;
        e.editable = false;
    }));

    EXPECT_EQ(a11y.writeSelectedText(field, s("ü")), Accessibility::WriteOutcome::Done);
    EXPECT_EQ(a11y.element(field).text, s("a😀ü"));
    EXPECT_EQ(a11y.selectedRange(field), (Range{4, 0}));

    EXPECT_EQ(a11y.writeSelectedText(locked, s("x")), Accessibility::WriteOutcome::Failed);
    EXPECT_EQ(a11y.element(locked).text, s("keep"));
    EXPECT_EQ(a11y.selectedText(locked), s("keep"));

    EXPECT_EQ(a11y.writeSelectedText(label, s("x")), Accessibility::WriteOutcome::Unsupported);
    EXPECT_EQ(a11y.settable(label),
              (Accessibility::Settable{.value = false, .selectedText = false, .selectedRange = true}));
}

} // namespace
