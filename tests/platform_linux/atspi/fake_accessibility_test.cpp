#include "accessibility_printers.h"
#include "platform/fake/fake_accessibility.h"
#include "platform/fake/manual_clock.h"
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

// A probe with a time budget, as the selection capture walks the focus's neighbourhood.
int elementsReadWithin(Accessibility& a11y, const ManualClock& clock,
                       const QList<AccessibleElement>& elements, qint64 budgetMs)
{
    const qint64 deadline = clock.elapsedMs() + budgetMs;
    int read = 0;
    for (const AccessibleElement& element : elements) {
        if (clock.elapsedMs() >= deadline)
            break;
        if (a11y.selectedText(element))
            ++read;
    }
    return read;
}

TEST(FakeAccessibility, ASlowElementSpendsTheBudgetAndPastTheTimeOutAnswersNothing)
{
    ManualClock clock;
    FakeAccessibility a11y(&clock);
    const AccessibleElement quick = a11y.add(FakeAccessibility::field(s("quick")));
    const AccessibleElement slow =
        a11y.add(with(FakeAccessibility::field(s("slow")), [](Element& e) { e.delayMs = 5000; }));
    const AccessibleElement late = a11y.add(FakeAccessibility::field(s("late")));

    EXPECT_EQ(elementsReadWithin(a11y, clock, {quick, slow, slow, slow, slow, late}, 1000), 1);
    EXPECT_EQ(clock.elapsedMs(), 4 * Accessibility::timeoutMs) << "a hung call costs the time-out, no more";
    EXPECT_EQ(a11y.callCount(late), 0);
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
