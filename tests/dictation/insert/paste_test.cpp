#include "dictation/insert/paste_cycle.h"
#include "fake_desktop.h"
#include "temp_support_dir.h"
#include "test_text.h"

#include <gtest/gtest.h>

namespace {

using Outcome = InsertResult::Outcome;
using Items = QList<PasteboardItem>;
using Target = KeySynthesizer::Target;

PasteboardItem item(const char* type, const QByteArray& data)
{
    return {QString::fromLatin1(type), data};
}

const PasteboardItem userText = item("text/plain", "the user's own words");
const Items richClipboard = {userText, item("text/html", "<b>the user's own words</b>"),
                             item("image/png", QByteArray("\x89PNG\r\n\x1a\n", 8)),
                             item("text/uri-list", "file:///home/u/a.txt\r\n")};
const PasteboardItem secretHint = item("x-kde-passwordManagerHint", "secret");

class PasteTest : public TempSupportDir {
protected:
    std::optional<InsertResult> insert(const QString& text) { return m_desk.insert(text); }

    FakeDesktop m_desk;
    QObject m_context;
};

TEST_F(PasteTest, EveryTypeOfTheUsersClipboardComesBackAndAnEmptyOneComesBackEmpty)
{
    struct Case {
        const char* name = {};
        Items before = {};
        Items after = {};
    };
    const Case cases[] = {
        {.name = "text, HTML, image and files", .before = richClipboard, .after = richClipboard},
        {.name = "empty", .before = {}, .after = {}},
        {.name = "type with empty data", .before = {userText, item("text/html", "")}, .after = {userText}},
    };
    for (const Case& c : cases) {
        m_desk.board.write(c.before);
        const AccessibleElement field = m_desk.focus(FakeAccessibility::field(s("note: ")));
        m_desk.a11y.edit(field, [](auto& e) { e.selection = {6, 0}; });
        const std::optional<InsertResult> result = insert(s("dictated"));
        ASSERT_TRUE(result) << c.name;
        EXPECT_EQ(result->outcome, Outcome::Pasted) << c.name;
        EXPECT_EQ(m_desk.textOf(field), s("note: dictated")) << c.name;
        m_desk.pump(2000);
        EXPECT_EQ(m_desk.board.items(), c.after) << c.name;
    }
}

TEST_F(PasteTest, TheRestoreWaitsUntilThePastedTextShowsOrItsTimeLimit)
{
    struct Case {
        const char* name = {};
        bool readable = {};
        int stillOursAtMs; // the board still holds the pasted text then
        int restoredByMs = {};
    };
    const Case cases[] = {
        {.name = "text shows at once", .readable = true, .stillOursAtMs = 40, .restoredByMs = 200},
        {.name = "field cannot be read", .readable = false, .stillOursAtMs = 1200, .restoredByMs = 1300},
    };
    for (const Case& c : cases) {
        m_desk.board.write({userText});
        FakeAccessibility::Element element = FakeAccessibility::field({});
        element.unreadable = !c.readable;
        m_desk.focus(element);
        insert(s("dictated"));
        m_desk.pump(c.stillOursAtMs);
        EXPECT_EQ(m_desk.board.plainText(), s("dictated")) << c.name;
        m_desk.pump(c.restoredByMs - c.stillOursAtMs);
        EXPECT_EQ(m_desk.board.items(), Items{userText}) << c.name;
        m_desk.pump(2000);
    }
}

TEST_F(PasteTest, RawThenPolishedPasteBringsBackTheClipboardFromBeforeTheFirst)
{
    struct Case {
        const char* name = {};
        int polishAfterMs;       // after the raw paste; past the restore wait the cycle has closed
        bool chordFails = false; // the polished text's paste chord cannot be posted
    };
    // clang-format off
    const Case cases[] = {{.name = "polish within the restore wait", .polishAfterMs = 30},
                          {.name = "polish after the restore", .polishAfterMs = 2000},
                          {.name = "polished text's chord fails", .polishAfterMs = 30, .chordFails = true}};
    // clang-format on
    for (const Case& c : cases) {
        m_desk.board.write(richClipboard);
        const AccessibleElement field = m_desk.focus(FakeAccessibility::field({}));
        insert(s("helo wrld"));
        m_desk.pump(c.polishAfterMs);
        if (c.chordFails)
            m_desk.keys.setFailure(KeySynthesizer::Failure::Reason::ModifiersHeld);
        std::optional<TextInserter::Replaced> replaced;
        m_desk.inserter.replacePreviousInsert(s("helo wrld"), s("Hello world."), &m_context,
                                              [&](const TextInserter::Replaced& r) { replaced = r; });
        m_desk.pump(2000);
        m_desk.keys.setFailure(std::nullopt);
        ASSERT_TRUE(replaced) << c.name;
        EXPECT_EQ(replaced->ok(), !c.chordFails) << c.name;
        EXPECT_EQ(m_desk.textOf(field), c.chordFails ? s("helo wrld") : s("Hello world.")) << c.name;
        EXPECT_EQ(m_desk.board.items(), richClipboard) << c.name;
    }
}

TEST_F(PasteTest, ACopyTheUserMakesDuringTheRestoreWaitIsNeverOverwritten)
{
    const Items usersNewCopy = {item("text/plain", "copied meanwhile")};
    struct Case {
        const char* name = {};
        bool insertAgain; // a second paste follows the user's copy within the wait
        Items expected = {};
    };
    const Case cases[] = {
        {.name = "copy during the wait", .insertAgain = false, .expected = usersNewCopy},
        {.name = "copy, then another paste", .insertAgain = true, .expected = usersNewCopy},
    };
    for (const Case& c : cases) {
        m_desk.board.write({userText});
        FakeAccessibility::Element element = FakeAccessibility::field({});
        element.unreadable = true; // keeps the restore waiting its full time
        m_desk.focus(element);
        insert(s("first"));
        m_desk.pump(300);
        m_desk.board.write(usersNewCopy);
        if (c.insertAgain)
            insert(s("second"));
        m_desk.pump(2000);
        EXPECT_EQ(m_desk.board.items(), c.expected) << c.name;
        EXPECT_TRUE(m_desk.displaced.isEmpty()) << c.name;
    }
}

TEST_F(PasteTest, TheUsersClipboardTextIsReportedOnlyWhenOurTextStaysAndNeverASecret)
{
    const QString huge = QString(200001, QLatin1Char('x'));
    struct Case {
        const char* name = {};
        Items before = {};
        bool trusted = {};
        std::optional<KeySynthesizer::Failure::Reason> chordFailure = {};
        bool plainCopy = false; // copyToClipboard instead of insert
        QStringList reported = {};
        QString copiedAfter = {};   // copyToClipboard once the insert is done, as a changed polish does
        QString insertedAfter = {}; // a second dictation once the first is done
    };
    const Case cases[] = {
        {.name = "no access",
         .before = {userText},
         .trusted = false,
         .reported = {s("the user's own words")}},
        {.name = "chord failed",
         .before = {userText},
         .trusted = true,
         .chordFailure = KeySynthesizer::Failure::Reason::ModifiersHeld,
         .reported = {s("the user's own words")}},
        {.name = "plain copy",
         .before = {userText},
         .trusted = true,
         .plainCopy = true,
         .reported = {s("the user's own words")}},
        // clang-format off
        {.name = "polish copied over our kept text", .before = {userText}, .trusted = false, .reported = {s("the user's own words")}, .copiedAfter = s("Dictated.")},
        {.name = "next dictation over our kept text", .before = {userText}, .trusted = false, .reported = {s("the user's own words")}, .insertedAfter = s("Next.")},
        // clang-format on
        {.name = "restored, not displaced", .before = {userText}, .trusted = true, .reported = {}},
        {.name = "password manager's", .before = {userText, secretHint}, .trusted = false, .reported = {}},
        {.name = "password manager's, plain copy",
         .before = {userText, secretHint},
         .trusted = true,
         .plainCopy = true,
         .reported = {}},
        {.name = "same word with spaces",
         .before = {item("text/plain", "  dictated \n")},
         .trusted = false,
         .reported = {}},
        {.name = "too long", .before = {{s("text/plain"), huge.toUtf8()}}, .trusted = false, .reported = {}},
        {.name = "empty", .before = {}, .trusted = false, .reported = {}},
    };
    for (const Case& c : cases) {
        m_desk.displaced.clear();
        m_desk.board.write(c.before);
        m_desk.permissions.trusted = c.trusted;
        m_desk.keys.setFailure(c.chordFailure);
        m_desk.focus(FakeAccessibility::field({}));
        if (c.plainCopy) {
            m_desk.inserter.copyToClipboard(s("dictated"));
        } else {
            const std::optional<InsertResult> result = insert(s("dictated"));
            ASSERT_TRUE(result) << c.name;
            const bool pasted = c.trusted && !c.chordFailure;
            EXPECT_EQ(result->outcome, pasted ? Outcome::Pasted : Outcome::KeptOnClipboard) << c.name;
            EXPECT_EQ(result->failure.has_value(), c.chordFailure.has_value()) << c.name;
        }
        m_desk.pump(2000);
        if (!c.copiedAfter.isEmpty())
            m_desk.inserter.copyToClipboard(c.copiedAfter);
        if (!c.insertedAfter.isEmpty())
            insert(c.insertedAfter);
        EXPECT_EQ(m_desk.displaced, c.reported) << c.name;
        const bool kept = c.plainCopy || !c.trusted || c.chordFailure;
        if (kept) {
            const QString last = c.insertedAfter.isEmpty() ? c.copiedAfter : c.insertedAfter;
            EXPECT_EQ(m_desk.board.plainText(), last.isEmpty() ? s("dictated") : last) << c.name;
        } else {
            EXPECT_EQ(m_desk.board.items(), c.before) << c.name;
        }
    }
}

TEST_F(PasteTest, TerminalsGetTheTerminalPasteChordInThePasteAndItsReplacementAndNeverTheCopyChord)
{
    struct Case {
        const char* name = {};
        bool windowIsTerminal = {};
        Accessibility::Role role = {};
        Target target = {};
    };
    const Case cases[] = {
        {.name = "editor",
         .windowIsTerminal = false,
         .role = Accessibility::Role::TextArea,
         .target = Target::Application},
        {.name = "terminal by its window class",
         .windowIsTerminal = true,
         .role = Accessibility::Role::Other,
         .target = Target::Terminal},
        {.name = "terminal by its role",
         .windowIsTerminal = false,
         .role = Accessibility::Role::Terminal,
         .target = Target::Terminal},
    };
    for (const Case& c : cases) {
        m_desk.windows.setActive(AppWindow{
            .window = 9, .app = {}, .pid = 4242, .windowClass = {}, .terminal = c.windowIsTerminal});
        FakeAccessibility::Element element = FakeAccessibility::field(s("$ "), {2, 0});
        element.role = c.role;
        const AccessibleElement field = m_desk.focus(element);
        const qsizetype before = m_desk.keys.posted().size();
        insert(s("ls"));
        ASSERT_FALSE(m_desk.keys.posted().isEmpty()) << c.name;
        EXPECT_EQ(m_desk.keys.posted().last().target, c.target) << c.name;
        EXPECT_EQ(m_desk.textOf(field), s("$ ls")) << c.name;
        m_desk.inserter.replacePreviousInsert(s("ls"), s("ls -l"), &m_context, [](const auto&) {});
        m_desk.pump(2000);
        const QList<FakeKeySynthesizer::PostedChord> posted = m_desk.keys.posted().mid(before);
        EXPECT_EQ(posted, QList<FakeKeySynthesizer::PostedChord>(2, {KeySynthesizer::Chord::Paste, c.target}))
            << c.name;
        EXPECT_EQ(m_desk.textOf(field), s("$ ls -l")) << c.name;
    }
}

// Ctrl+V types ^V into a terminal: each window gets keys it is known to take, and a window that
// cannot be named and shows no text field (a native Wayland terminal without accessibility) gets
// Shift+Insert, with our text as the primary selection too, or none.
TEST_F(PasteTest, EachWindowGetsPasteKeysItTakesOrTheTextStaysOnTheClipboard)
{
    enum class Window { Application, Terminal, ShiftInsertTerminal, Unnamed };
    using Role = Accessibility::Role;
    struct Row {
        const char* what;
        Window window;
        Role role;
        bool accessible; // accessibility answers for the focused element
        bool primary;    // the session lets us write the primary selection
        std::optional<Target> posted;
    };
    // clang-format off
    const Row rows[] = {
        {"application, field unreadable",  Window::Application,         Role::TextField, false, true,  Target::Application},
        {"terminal by its class",          Window::Terminal,            Role::Terminal,  false, true,  Target::Terminal},
        {"xterm",                          Window::ShiftInsertTerminal, Role::Terminal,  false, true,  Target::ShiftInsert},
        {"xterm, no primary selection",    Window::ShiftInsertTerminal, Role::Terminal,  false, false, std::nullopt},
        {"unnamed, a text field",          Window::Unnamed,             Role::TextField, true,  false, Target::Application},
        {"unnamed, a terminal by role",    Window::Unnamed,             Role::Terminal,  true,  false, Target::Terminal},
        {"unnamed, nothing accessible",    Window::Unnamed,             Role::Terminal,  false, true,  Target::ShiftInsert},
        {"unnamed, nothing, no primary",   Window::Unnamed,             Role::Terminal,  false, false, std::nullopt},
    };
    // clang-format on
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        FakeDesktop desk(row.primary);
        std::optional<AppWindow> window;
        if (row.window != Window::Unnamed)
            window = AppWindow{.window = 9,
                               .app = {},
                               .pid = 4242,
                               .windowClass = {},
                               .terminal = row.window != Window::Application,
                               .shiftInsertOnly = row.window == Window::ShiftInsertTerminal};
        desk.windows.setActive(window);
        desk.board.write({userText});
        desk.primary.writeText(s("selected by the user"));
        FakeAccessibility::Element element = FakeAccessibility::field(s("$ "), {2, 0});
        element.role = row.role;
        element.unreadable = !row.accessible;
        const AccessibleElement field = desk.focus(element);

        const std::optional<InsertResult> result = desk.insert(s("ls"));
        ASSERT_TRUE(result);
        EXPECT_EQ(result->outcome, row.posted ? Outcome::Pasted : Outcome::KeptOnClipboard);
        EXPECT_EQ(result->replacedCopy, !row.posted) << "the user's copy is gone where our text stays";
        EXPECT_EQ(desk.keys.posted().isEmpty() ? std::nullopt
                                               : std::optional(desk.keys.posted().last().target),
                  row.posted);
        EXPECT_EQ(desk.textOf(field), row.posted ? s("$ ls") : s("$ "));
        desk.pump(2000);
        EXPECT_EQ(desk.primary.plainText(), s("selected by the user"))
            << "the user's selection was not given back";
        EXPECT_EQ(desk.board.plainText(), row.posted ? s("the user's own words") : s("ls"));
    }
}

// Each question to an application that does not answer costs the paste the messaging time-out.
TEST_F(PasteTest, ANamedApplicationThatDoesNotAnswerIsAskedOnlyWhetherItIsATerminal)
{
    FakeAccessibility::Element hung = FakeAccessibility::field({});
    hung.delayMs = 2 * Accessibility::timeoutMs;
    m_desk.focus(hung);
    const qint64 start = m_desk.clock.elapsedMs();
    insert(s("dictated"));
    ASSERT_EQ(m_desk.keys.posted().size(), 1);
    EXPECT_LE(m_desk.clock.elapsedMs() - start, Accessibility::timeoutMs + 1);
}

TEST_F(PasteTest, APolishThatCannotFindTheRawTextChangesNothing)
{
    struct Case {
        const char* name = {};
        std::function<void(FakeDesktop&, const AccessibleElement&)> meanwhile = {};
        TextInserter::ReplaceFailure failure = {};
        QString field = {};
    };
    const Case cases[] = {
        {.name = "user typed after it",
         .meanwhile =
             [](FakeDesktop& d, const AccessibleElement& f) {
                 d.a11y.edit(f, [](auto& e) {
                     e.text += s(" more");
                     e.selection = {static_cast<int>(e.text.size()), 0};
                 });
             },
         .failure = TextInserter::ReplaceFailure::RawNotFound,
         .field = s("helo more")},
        {.name = "field refuses the selection",
         .meanwhile =
             [](FakeDesktop& d, const AccessibleElement& f) {
                 d.a11y.edit(f, [](auto& e) { e.refusesWrites = true; });
             },
         .failure = TextInserter::ReplaceFailure::SelectionRefused,
         .field = s("helo")},
        {.name = "no access",
         .meanwhile = [](FakeDesktop& d, const AccessibleElement&) { d.permissions.trusted = false; },
         .failure = TextInserter::ReplaceFailure::NoAccess,
         .field = s("helo")},
    };
    for (const Case& c : cases) {
        m_desk.permissions.trusted = true;
        const AccessibleElement field = m_desk.focus(FakeAccessibility::field({}));
        insert(s("helo"));
        c.meanwhile(m_desk, field);
        std::optional<TextInserter::Replaced> replaced;
        m_desk.inserter.replacePreviousInsert(s("helo"), s("Hello."), &m_context,
                                              [&](const TextInserter::Replaced& r) { replaced = r; });
        m_desk.pump(2000);
        ASSERT_TRUE(replaced && !replaced->ok()) << c.name;
        EXPECT_EQ(replaced->error(), c.failure) << c.name;
        EXPECT_EQ(m_desk.textOf(field), c.field) << c.name;
    }
}

// A late answer about the raw text must not restore the user's clipboard while the polished text
// is on it and its chord still waits to go out: the application would paste the user's text.
TEST(PasteCycleTest, ALateAnswerAboutTheRawTextRestoresNothingWhileThePolishedTextIsOnTheBoard)
{
    struct Row {
        const char* name;
        bool visible; // the late answer; not visible yet would poll again
    };
    const Row rows[] = {{.name = "raw text visible", .visible = true},
                        {.name = "raw text not yet visible", .visible = false}};
    for (const Row& row : rows) {
        ManualClock clock;
        FakePasteboard board;
        board.write({userText});
        std::vector<std::function<void(bool)>> answers;
        PasteCycle cycle(board, clock, [&](const QString&, std::function<void(bool)> answer) {
            answers.push_back(std::move(answer));
        });
        // Every later check finds its text at once.
        const auto run = [&](int ms) {
            for (int i = 0; i < ms; ++i) {
                clock.advance(1);
                for (std::size_t a = 1; a < answers.size(); ++a)
                    if (const auto answer = std::exchange(answers[a], {}))
                        answer(true);
            }
        };
        cycle.open();
        cycle.write(s("helo"));
        cycle.scheduleRestore(s("helo"));
        ASSERT_EQ(answers.size(), 1u) << row.name;
        cycle.open();
        cycle.write(s("Hello."));
        answers[0](row.visible);
        run(2000);
        EXPECT_EQ(board.plainText(), s("Hello.")) << row.name;
        cycle.scheduleRestore(s("Hello."));
        run(PasteCycle::settleMs + 1);
        EXPECT_EQ(board.items(), Items{userText}) << row.name;
    }
}

// The space and case of a dictation depend on what stands before the caret: read from a field
// that reports its text, else known only from our own last paste into that window, and only
// while the user has typed nothing there since, whatever went into other windows meanwhile.
TEST_F(PasteTest, WhatStandsBeforeTheCaretComesFromTheFieldElseFromOurLastPasteThere)
{
    using Sentence = CaretContext::Sentence;
    struct Row {
        const char* name;
        bool reportsText;
        const char* fieldText;
        bool pastedBefore = false;
        bool typedSince = false;
        bool otherWindow = false;
        bool remembers = true;
        bool pastedElsewhere = false; // a paste into another window came between
        bool typedElsewhere = false;  // and the user typed there
        CaretContext expected = {};
    };
    const CaretContext afterSentence{Sentence::Starts, true};
    // clang-format off
    const Row rows[] = {
        {.name = "field ends a sentence",      .reportsText = true,  .fieldText = "That was easy.", .expected = afterSentence},
        {.name = "empty field",                .reportsText = true,  .fieldText = "",               .expected = {Sentence::Starts, false}},
        {.name = "field inside a sentence",    .reportsText = true,  .fieldText = "I think ",       .expected = {Sentence::Continues, false}},
        {.name = "silent field, no paste",     .reportsText = false, .fieldText = "x"},
        {.name = "silent field after a paste", .reportsText = false, .fieldText = "x", .pastedBefore = true, .expected = afterSentence},
        {.name = "typed since the paste",      .reportsText = false, .fieldText = "x", .pastedBefore = true, .typedSince = true},
        {.name = "another window now",         .reportsText = false, .fieldText = "x", .pastedBefore = true, .otherWindow = true},
        {.name = "typing not seen here",       .reportsText = false, .fieldText = "x", .pastedBefore = true, .remembers = false},
        {.name = "a paste elsewhere between",  .reportsText = false, .fieldText = "x", .pastedBefore = true, .pastedElsewhere = true, .expected = afterSentence},
        {.name = "typed elsewhere between",    .reportsText = false, .fieldText = "x", .pastedBefore = true, .pastedElsewhere = true, .typedElsewhere = true, .expected = afterSentence},
    };
    // clang-format on
    const AppWindow editor{.window = 9, .app = {}, .pid = 4242, .windowClass = {}, .terminal = false};
    const AppWindow other{.window = 10, .app = {}, .pid = 4243, .windowClass = {}};
    for (const Row& row : rows) {
        m_desk.windows.setActive(editor);
        m_desk.inserter.rememberPastes(row.remembers);
        const QString text = s(row.fieldText);
        FakeAccessibility::Element element = FakeAccessibility::field(text, {int(text.size()), 0});
        element.unreadable = !row.reportsText;
        const AccessibleElement field = m_desk.focus(element);
        if (row.pastedBefore) {
            insert(s("All nice."));
            m_desk.pump(2000);
        }
        if (row.typedSince)
            m_desk.inserter.userTyped();
        if (row.otherWindow)
            m_desk.windows.setActive(other);
        if (row.pastedElsewhere) {
            m_desk.windows.setActive(other);
            m_desk.focus(FakeAccessibility::field({}));
            insert(s("Elsewhere"));
            m_desk.pump(2000);
            if (row.typedElsewhere)
                m_desk.inserter.userTyped();
            m_desk.windows.setActive(editor);
            m_desk.a11y.setFocused(field);
        }
        std::optional<CaretContext> context;
        m_desk.inserter.insert(
            [&](const CaretContext& c) {
                context = c;
                return s("more");
            },
            &m_context, {});
        m_desk.pump(1);
        ASSERT_TRUE(context) << row.name;
        EXPECT_EQ(*context, row.expected) << row.name;
        m_desk.pump(2000);
    }
}

} // namespace
