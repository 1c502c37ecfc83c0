#include "dictation/insert/selection_probe.h"
#include "fake_desktop.h"
#include "temp_support_dir.h"
#include "test_text.h"

#include <gtest/gtest.h>

namespace {

using Element = FakeAccessibility::Element;
using Role = Accessibility::Role;
using Chord = KeySynthesizer::Chord;

const QList<PasteboardItem> usersClipboard = {{s("text/plain"), "mine"}, {s("text/html"), "<i>mine</i>"}};

// A field holding `text` with all of it selected.
Element selecting(const QString& text)
{
    return FakeAccessibility::field(text, {0, static_cast<int>(text.size())});
}

class SelectionTest : public TempSupportDir {
protected:
    void SetUp() override
    {
        TempSupportDir::SetUp();
        m_desk.board.write(usersClipboard);
    }

    std::optional<QString> capture()
    {
        std::optional<std::optional<QString>> answer;
        m_desk.inserter.captureSelection(&m_context,
                                         [&](const std::optional<QString>& text) { answer = text; });
        m_desk.finishProbe(400);
        EXPECT_TRUE(answer.has_value()) << "no answer";
        return answer.value_or(std::nullopt);
    }
    int copies() const
    {
        return static_cast<int>(std::count_if(m_desk.keys.posted().begin(), m_desk.keys.posted().end(),
                                              [](const auto& p) { return p.chord == Chord::Copy; }));
    }

    FakeDesktop m_desk;
    QObject m_context;
};

TEST_F(SelectionTest, FindsTheSelectionByAccessibilityOrByCopyAndLeavesTheClipboardAsItWas)
{
    const QString limit = s("  ") + QString(SelectionProbe::longestSelection, QLatin1Char('a')) + s("\n");
    const QString pastLimit = QString(SelectionProbe::longestSelection + 1, QLatin1Char('a'));
    struct Case {
        const char* name = {};
        std::function<void(FakeDesktop&)> build;
        std::optional<QString> expected = {};
        int copies = {};
        bool boardWritten = false; // a write loses the types that cannot be read back
    };
    const Case cases[] = {
        {.name = "selected in the field",
         .build = [](FakeDesktop& d) { d.focus(selecting(s("hello"))); },
         .expected = s("hello"),
         .copies = 0},
        {.name = "caret only",
         .build =
             [](FakeDesktop& d) {
                 d.focus(FakeAccessibility::field(s("hello"), {2, 0}));
             },
         .expected = std::nullopt,
         .copies = 0},
        {.name = "20,000 after trimming",
         .build = [&](FakeDesktop& d) { d.focus(selecting(limit)); },
         .expected = limit,
         .copies = 0},
        {.name = "20,001",
         .build = [&](FakeDesktop& d) { d.focus(selecting(pastLimit)); },
         .expected = std::nullopt,
         .copies = 0},
        {.name = "selected in a parent",
         .build =
             [](FakeDesktop& d) {
                 const AccessibleElement page = d.a11y.add(selecting(s("from the page")));
                 Element link = FakeAccessibility::field({});
                 link.textual = false;
                 d.focus(link, page);
             },
         .expected = s("from the page"),
         .copies = 0},
        {.name = "selected in a child",
         .build =
             [](FakeDesktop& d) {
                 Element frame = FakeAccessibility::field({});
                 frame.textual = false;
                 const AccessibleElement focused = d.focus(frame);
                 d.a11y.add(selecting(s("in the child")), focused);
             },
         .expected = s("in the child"),
         .copies = 0},
        {.name = "unreadable field copies",
         .build =
             [](FakeDesktop& d) {
                 Element field = selecting(s("copied"));
                 field.unreadable = true;
                 d.focus(field);
             },
         .expected = s("copied"),
         .copies = 1,
         .boardWritten = true},
        {.name = "20,001 copied",
         .build =
             [&](FakeDesktop& d) {
                 Element field = selecting(pastLimit);
                 field.unreadable = true;
                 d.focus(field);
             },
         .expected = std::nullopt,
         .copies = 1,
         .boardWritten = true},
        {.name = "application copies nothing",
         .build =
             [](FakeDesktop& d) {
                 Element field = selecting(s("copied"));
                 field.unreadable = true;
                 d.focus(field);
                 d.ignoresCopy = true;
             },
         .expected = std::nullopt,
         .copies = 1},
        {.name = "application copies a moment later",
         .build =
             [](FakeDesktop& d) {
                 Element field = selecting(s("copied"));
                 field.unreadable = true;
                 d.focus(field);
                 d.copyLagMs = 100;
             },
         .expected = s("copied"),
         .copies = 1,
         .boardWritten = true},
        {.name = "no access copies",
         .build =
             [](FakeDesktop& d) {
                 d.focus(selecting(s("copied")));
                 d.permissions.trusted = false;
             },
         .expected = s("copied"),
         .copies = 1,
         .boardWritten = true},
    };
    for (const Case& c : cases) {
        FakeDesktop& d = m_desk;
        d.permissions.trusted = true;
        d.ignoresCopy = false;
        d.copyLagMs = 0;
        const int copiesBefore = copies();
        const quint64 changesBefore = d.board.changeCount();
        c.build(d);
        EXPECT_EQ(capture(), c.expected) << c.name;
        EXPECT_EQ(copies() - copiesBefore, c.copies) << c.name;
        EXPECT_EQ(d.board.items(), usersClipboard) << c.name;
        EXPECT_EQ(d.board.changeCount() != changesBefore, c.boardWritten) << c.name;
    }
}

// A dictation started over our own window must not turn into a command on the window's own text.
TEST_F(SelectionTest, OurOwnWindowIsNeitherProbedNorSentACopyChord)
{
    m_desk.focus(selecting(s("our own label")));
    AppWindow own;
    own.window = 3;
    own.pid = static_cast<int>(FakeDesktop::ownPid);
    m_desk.windows.setActive(own);
    EXPECT_EQ(capture(), std::nullopt);
    EXPECT_EQ(copies(), 0);
}

// A window that cannot be named (a native Wayland one) may be a terminal too.
TEST_F(SelectionTest, TerminalsAndWindowsThatCannotBeNamedAreNeverSentACopyChord)
{
    struct Case {
        const char* name = {};
        bool named = true;
        bool windowIsTerminal = {};
        Role role = {};
        bool trusted = true;
    };
    // clang-format off
    const Case cases[] = {
        {.name = "by its window class", .windowIsTerminal = true, .role = Role::Other},
        {.name = "by its role", .windowIsTerminal = false, .role = Role::Terminal},
        {.name = "a window that cannot be named", .named = false, .windowIsTerminal = false, .role = Role::Other},
        {.name = "the same without access", .named = false, .windowIsTerminal = false, .role = Role::Other, .trusted = false},
    };
    // clang-format on
    for (const Case& c : cases) {
        m_desk.permissions.trusted = c.trusted;
        m_desk.windows.setActive(
            c.named
                ? std::optional(AppWindow{
                      .window = 5, .app = {}, .pid = 4242, .windowClass = {}, .terminal = c.windowIsTerminal})
                : std::nullopt);
        // A terminal shows its selection to nobody but a copy.
        Element terminal = FakeAccessibility::field(s("$ make"), {2, 4});
        terminal.role = c.role;
        terminal.textual = false;
        m_desk.focus(terminal);
        EXPECT_EQ(capture(), std::nullopt) << c.name;
        EXPECT_EQ(copies(), 0) << c.name;
        EXPECT_EQ(m_desk.interrupts, 0) << c.name;
    }
}

TEST_F(SelectionTest, SlowElementsStopTheProbeAtItsTimeBudget)
{
    struct Case {
        const char* name = {};
        int delayMs = {};
        bool farChildReached = {};
    };
    const Case cases[] = {
        // Every call times out: the budget is spent long before the neighbourhood is.
        {.name = "timing out", .delayMs = 300, .farChildReached = false},
        {.name = "slow but answering", .delayMs = 200, .farChildReached = false},
    };
    for (const Case& c : cases) {
        Element slow = FakeAccessibility::field(s("text"), {1, 0});
        slow.delayMs = c.delayMs;
        AccessibleElement top;
        for (int i = 0; i < SelectionProbe::ancestors; ++i)
            top = m_desk.a11y.add(slow, top);
        const AccessibleElement focused = m_desk.focus(slow, top);
        AccessibleElement far;
        for (int i = 0; i < SelectionProbe::descendants; ++i)
            far = m_desk.a11y.add(slow, focused);
        m_desk.a11y.edit(far, [](Element& e) { e.selection = {0, 4}; });

        const qint64 start = m_desk.clock.elapsedMs();
        std::optional<std::optional<QString>> answer;
        m_desk.inserter.captureSelection(&m_context,
                                         [&](const std::optional<QString>& text) { answer = text; });
        const qint64 spent = m_desk.clock.elapsedMs() - start;
        EXPECT_GE(spent, SelectionProbe::budgetMs) << c.name;
        EXPECT_LE(spent, SelectionProbe::budgetMs + Accessibility::timeoutMs) << c.name;
        EXPECT_EQ(m_desk.a11y.callCount(far) > 1, c.farChildReached) << c.name;
        m_desk.pump(400);
        EXPECT_TRUE(answer.has_value()) << c.name;
    }
}

TEST_F(SelectionTest, ACopyProbeDuringAPendingRestoreLeavesTheUsersClipboardNotTheDictatedText)
{
    Element field = selecting(s("selected"));
    field.unreadable = true;
    const AccessibleElement focused = m_desk.focus(field);
    std::optional<InsertResult> inserted;
    m_desk.inserter.insert(s("dictated"), &m_context, [&](const InsertResult& r) { inserted = r; });
    m_desk.pump(5);
    ASSERT_TRUE(inserted);
    m_desk.a11y.edit(focused, [](Element& e) { e.selection = {0, static_cast<int>(e.text.size())}; });
    EXPECT_EQ(capture(), s("dictated"));
    m_desk.pump(2000);
    EXPECT_EQ(m_desk.board.items(), usersClipboard);
}

// A paste aborts the probe while its copy chord still waits for the user's modifiers; the chord
// going out later must not bring the older clipboard back over the pasted text.
TEST_F(SelectionTest, AProbeAbortedWhileItsChordWaitsRestoresNothingAfterwards)
{
    m_desk.permissions.trusted = false;
    m_desk.focus(selecting(s("selected")));
    m_desk.ignoresCopy = true;
    m_desk.keys.setWaitMs(300);
    std::optional<std::optional<QString>> answer;
    m_desk.inserter.captureSelection(&m_context, [&](const std::optional<QString>& text) { answer = text; });
    m_desk.pump(100);
    ASSERT_FALSE(answer.has_value());
    m_desk.inserter.insert(s("dictated"), &m_context, [](const InsertResult&) {});
    EXPECT_TRUE(answer && !*answer) << "an aborted probe answers none";
    m_desk.pump(2000);
    EXPECT_EQ(copies(), 1);
    EXPECT_EQ(m_desk.board.plainText(), s("dictated"));
}

} // namespace
