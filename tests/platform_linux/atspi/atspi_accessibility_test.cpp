#include "accessibility_printers.h"
#include "platform/linux/atspi/atspi_accessibility.h"
#include "service_check.h"
#include "target_window.h"
#include "test_text.h"

#include <QElapsedTimer>
#include <QTest>

#include <gtest/gtest.h>

#include <future>
#include <memory>

namespace {

using Role = Accessibility::Role;
using Range = Accessibility::Range;
using Outcome = Accessibility::WriteOutcome;
using Element = std::optional<AccessibleElement>;

constexpr int waitMs = 10000;

// Asks through run(), the way the main thread does, and waits (bounded) for the answer.
template <typename R> R ask(Accessibility& a11y, std::function<R(Accessibility&)> work)
{
    QObject context;
    std::optional<R> answer;
    a11y.run<R>(std::move(work), &context, [&](R result) { answer = std::move(result); });
    if (!QTest::qWaitFor([&] { return answer.has_value(); }, waitMs)) {
        ADD_FAILURE() << "no answer from the accessibility thread";
        return R{};
    }
    return *answer;
}

// Runs against the private session bus, accessibility bus and Xvfb of scripts/with-services.
class AtspiAccessibilityTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        QUENDA_NEEDS_SERVICE(ServiceCheck::inServices(), "the desktop services of scripts/with-services");
        m_a11y = std::make_unique<AtspiAccessibility>();
        // The targets start after this, so they find accessibility switched on by the backend.
        ASSERT_TRUE(ask<bool>([](Accessibility& a) { return a.trusted(); }));
    }

    template <typename R> R ask(std::function<R(Accessibility&)> work) { return ::ask<R>(*m_a11y, work); }

    Outcome select(const AccessibleElement& field, Range range)
    {
        return ask<Outcome>([=](Accessibility& a) { return a.setSelectedRange(field, range); });
    }

    // The focused element once it is in process `pid`.
    Element focusIn(qint64 pid, Accessibility* a11y = nullptr)
    {
        Accessibility& service = a11y ? *a11y : *m_a11y;
        Element found;
        (void)QTest::qWaitFor(
            [&] {
                found = ::ask<Element>(service, [pid](Accessibility& a) -> Element {
                    const Element focused = a.focusedElement();
                    return focused && a.processId(*focused) == pid ? focused : std::nullopt;
                });
                return found.has_value();
            },
            waitMs);
        return found;
    }

    // Starts the Qt window with "a😀b" and "b" selected (UTF-16 offset 3, length 1).
    std::unique_ptr<TargetWindow> qtTarget()
    {
        auto target = std::make_unique<TargetWindow>(QStringLiteral(QUENDA_ATSPI_TARGET),
                                                     QStringList{s("a😀b"), QStringLiteral("3,1")});
        EXPECT_TRUE(target->ready()) << "the Qt window did not take the focus";
        return target;
    }

    std::unique_ptr<AtspiAccessibility> m_a11y;
};

TEST_F(AtspiAccessibilityTest, ReadsTheFocusedFieldOfAnotherApplication)
{
    const auto target = qtTarget();
    const Element field = focusIn(target->pid());
    ASSERT_TRUE(field) << "no focus in the target; is its accessibility on?";

    struct Reads {
        std::optional<Role> role;
        std::optional<bool> editable;
        std::optional<Accessibility::Settable> settable;
        std::optional<QString> value, selected, middle, pastEnd;
        std::optional<Range> range;
        std::optional<int> count;
    };
    const Reads reads = ask<Reads>([f = *field](Accessibility& a) {
        return Reads{.role = a.role(f),
                     .editable = a.editable(f),
                     .settable = a.settable(f),
                     .value = a.value(f),
                     .selected = a.selectedText(f),
                     .middle = a.text(f, {1, 2}),
                     .pastEnd = a.text(f, {3, 2}),
                     .range = a.selectedRange(f),
                     .count = a.characterCount(f)};
    });
    EXPECT_EQ(reads.role, Role::TextField);
    EXPECT_EQ(reads.editable, true);
    EXPECT_EQ(reads.settable,
              (Accessibility::Settable{.value = true, .selectedText = true, .selectedRange = true}));
    EXPECT_EQ(reads.value, s("a😀b"));
    EXPECT_EQ(reads.selected, s("b"));
    EXPECT_EQ(reads.middle, s("😀"));
    EXPECT_EQ(reads.pastEnd, std::nullopt);
    EXPECT_EQ(reads.range, (Range{3, 1}));
    EXPECT_EQ(reads.count, 4);
}

TEST_F(AtspiAccessibilityTest, WritesOverTheSelectionAndLeavesTheCaretAfterTheNewText)
{
    const auto target = qtTarget();
    const Element field = focusIn(target->pid());
    ASSERT_TRUE(field);

    EXPECT_EQ(ask<Outcome>([f = *field](Accessibility& a) { return a.writeSelectedText(f, s("ü😀")); }),
              Outcome::Done);
    EXPECT_EQ(ask<std::optional<QString>>([f = *field](Accessibility& a) { return a.value(f); }), s("a😀ü😀"));
    EXPECT_EQ(ask<std::optional<int>>([f = *field](Accessibility& a) { return a.characterCount(f); }), 6)
        << "the inserted text must arrive without padding";
    EXPECT_EQ(ask<std::optional<Range>>([f = *field](Accessibility& a) { return a.selectedRange(f); }),
              (Range{6, 0}));

    EXPECT_EQ(select(*field, {1, 2}), Outcome::Done);
    EXPECT_EQ(ask<std::optional<QString>>([f = *field](Accessibility& a) { return a.selectedText(f); }),
              s("😀"));
    EXPECT_EQ(select(*field, {2, 0}), Outcome::Done);
    EXPECT_EQ(ask<std::optional<Range>>([f = *field](Accessibility& a) { return a.selectedRange(f); }),
              (Range{2, 0}));
    EXPECT_EQ(select(*field, {5, 3}), Outcome::OutOfRange);
}

// The selection probe's neighbourhood walk: up through the parents, down through the children.
TEST_F(AtspiAccessibilityTest, WalksToTheMultiLineFieldAndGivesItTheFocus)
{
    const auto target = qtTarget();
    const Element field = focusIn(target->pid());
    ASSERT_TRUE(field);

    const Element area = ask<Element>([f = *field](Accessibility& a) -> Element {
        Element container = a.parent(f);
        for (int up = 0; container && up < 5; ++up) {
            for (const AccessibleElement& child :
                 a.children(*container, 6).value_or(QList<AccessibleElement>{})) {
                if (a.role(child) == Role::TextArea)
                    return child;
            }
            container = a.parent(*container);
        }
        return std::nullopt;
    });
    ASSERT_TRUE(area) << "no multi-line field near the focus";
    EXPECT_EQ(ask<Outcome>([e = *area](Accessibility& a) { return a.focus(e); }), Outcome::Done);
    EXPECT_EQ(focusIn(target->pid()), area);
    EXPECT_EQ(ask<std::optional<QString>>([e = *area](Accessibility& a) { return a.value(e); }),
              s("first\nsecond"));
}

TEST_F(AtspiAccessibilityTest, FindsTheFocusWithoutHavingSeenAFocusEvent)
{
    const auto target = qtTarget();
    const Element field = focusIn(target->pid());
    ASSERT_TRUE(field);
    // A second instance starts listening after the focus moved, so only the walk can find it.
    AtspiAccessibility late;
    EXPECT_EQ(focusIn(target->pid(), &late), field);
}

TEST_F(AtspiAccessibilityTest, AFrozenApplicationAnswersNothingWithinTheTimeOut)
{
    const auto target = qtTarget();
    const Element field = focusIn(target->pid());
    ASSERT_TRUE(field);
    target->freeze(true);
    QElapsedTimer timer;
    timer.start();
    EXPECT_EQ(ask<std::optional<QString>>([f = *field](Accessibility& a) { return a.selectedText(f); }),
              std::nullopt);
    // A few requests, each cut off at the time-out.
    EXPECT_LT(timer.elapsed(), 8 * Accessibility::timeoutMs);
    target->freeze(false);
}

TEST_F(AtspiAccessibilityTest, ABackgroundThreadCallsDirectly)
{
    const auto target = qtTarget();
    const Element field = focusIn(target->pid());
    ASSERT_TRUE(field);
    auto answer = std::async(std::launch::async, [&] { return m_a11y->selectedText(*field); });
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return answer.wait_for(std::chrono::seconds(0)) == std::future_status::ready; }, waitMs));
    EXPECT_EQ(answer.get(), s("b"));
}

// GTK counts offsets in code points where Qt hands its UTF-16 indices through; callers see UTF-16
// either way. GTK also talks to us over a connection of its own, which must stay on our thread.
TEST_F(AtspiAccessibilityTest, SpeaksUtf16ToAnApplicationThatCountsCodePoints)
{
    // "b" is code points 2..3.
    TargetWindow target(QStringLiteral("/usr/bin/python3"),
                        {QStringLiteral(QUENDA_GTK_TARGET), s("a😀b"), QStringLiteral("2,3")});
    QUENDA_NEEDS_SERVICE(!target.unavailable(), "GTK 3 introspection data (gir1.2-gtk-3.0)");
    ASSERT_TRUE(target.ready());
    const Element field = focusIn(target.pid());
    ASSERT_TRUE(field);

    EXPECT_EQ(ask<std::optional<Range>>([f = *field](Accessibility& a) { return a.selectedRange(f); }),
              (Range{3, 1}));
    EXPECT_EQ(ask<std::optional<QString>>([f = *field](Accessibility& a) {
                  return a.text(f, {1, 2});
              }),
              s("😀"));
    EXPECT_EQ(ask<std::optional<int>>([f = *field](Accessibility& a) { return a.characterCount(f); }), 4);
    EXPECT_EQ(select(*field, {2, 1}), Outcome::OutOfRange)
        << "a range that splits the emoji has no code point offsets";
    EXPECT_EQ(select(*field, {1, 2}), Outcome::Done);
    EXPECT_EQ(ask<std::optional<QString>>([f = *field](Accessibility& a) { return a.selectedText(f); }),
              s("😀"));
    EXPECT_EQ(ask<Outcome>([f = *field](Accessibility& a) { return a.writeSelectedText(f, s("x😀")); }),
              Outcome::Done);
    EXPECT_EQ(ask<std::optional<QString>>([f = *field](Accessibility& a) { return a.value(f); }), s("ax😀b"));
    EXPECT_EQ(ask<std::optional<int>>([f = *field](Accessibility& a) { return a.characterCount(f); }), 5);
    EXPECT_EQ(ask<std::optional<Range>>([f = *field](Accessibility& a) { return a.selectedRange(f); }),
              (Range{4, 0}));
    EXPECT_EQ(ask<std::optional<Role>>([f = *field](Accessibility& a) { return a.role(f); }),
              Role::TextField);
    EXPECT_TRUE(ask<bool>([this](Accessibility&) { return m_a11y->connectionsOnThread(); }));
}

// Under Wayland a terminal has no X window to be known by: its application's name tells instead.
TEST_F(AtspiAccessibilityTest, AFieldOfAnApplicationNamedAsATerminalReadsAsATerminal)
{
    // clang-format off
    const struct { const char* name; Role role; } rows[] = {
        {.name = "quenda-gtk-target", .role = Role::TextField},
        {.name = "foot",              .role = Role::Terminal},
        {.name = "Konsole",           .role = Role::Terminal},
    };
    // clang-format on
    for (const auto& row : rows) {
        TargetWindow target(QStringLiteral("/usr/bin/python3"),
                            {QStringLiteral(QUENDA_GTK_TARGET), s("x"), QStringLiteral("0,0"), s(row.name)});
        QUENDA_NEEDS_SERVICE(!target.unavailable(), "GTK 3 introspection data (gir1.2-gtk-3.0)");
        ASSERT_TRUE(target.ready()) << row.name;
        const Element field = focusIn(target.pid());
        ASSERT_TRUE(field) << row.name;
        EXPECT_EQ(ask<std::optional<Role>>([f = *field](Accessibility& a) { return a.role(f); }), row.role)
            << row.name;
    }
}

} // namespace

namespace {

// Run by CTest with no session bus and no display (see CMakeLists.txt): libatspi aborts the
// process when it is used without a bus, so the backend must answer nothing instead.
TEST(AtspiWithoutBus, AnswersNothingAndIsNotTrusted)
{
    if (qEnvironmentVariable("QUENDA_NO_ACCESSIBILITY_BUS") != QLatin1String("1"))
        GTEST_SKIP() << "needs a session bus address that leads nowhere (QUENDA_NO_ACCESSIBILITY_BUS=1)";
    AtspiAccessibility a11y;
    EXPECT_FALSE(ask<bool>(a11y, [](Accessibility& a) { return a.trusted(); }));
    EXPECT_EQ(ask<Element>(a11y, [](Accessibility& a) { return a.focusedElement(); }), std::nullopt);
}

} // namespace
