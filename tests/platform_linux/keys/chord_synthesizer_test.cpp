#include "test_text.h"

#include "platform/fake/manual_clock.h"
#include "platform/linux/keys/chord_synthesizer.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <ostream>
#include <vector>

namespace {

using Key = SyntheticKeyboard::Key;
using Chord = KeySynthesizer::Chord;
using Target = KeySynthesizer::Target;
using Reason = KeySynthesizer::Failure::Reason;

const char* name(Key key)
{
    switch (key) {
    case Key::Control:
        return "Control";
    case Key::Shift:
        return "Shift";
    case Key::C:
        return "C";
    case Key::V:
        return "V";
    case Key::Insert:
        return "Insert";
    }
    return "";
}

// One key sent to the keyboard, pressed or released.
struct Stroke {
    bool down;
    Key key;
    bool operator==(const Stroke&) const = default;
    friend void PrintTo(const Stroke& stroke, std::ostream* out)
    {
        *out << (stroke.down ? '+' : '-') << name(stroke.key);
    }
};
using Strokes = std::vector<Stroke>;

Stroke down(Key key)
{
    return {true, key};
}

Stroke up(Key key)
{
    return {false, key};
}

using enum SyntheticKeyboard::Key;

// A keyboard whose held keys the test sets; logs each stroke and fails where told.
class ScriptedKeyboard final : public SyntheticKeyboard {
public:
    Result<State, Failure> state() override
    {
        ++reads;
        if (unreadable)
            return Failure{Reason::Unavailable, s("unreadable")};
        return held;
    }

    State held;
    bool unreadable = false;
    std::optional<Key> failPress;
    std::optional<Key> failRelease;
    Strokes log;
    int reads = 0;

private:
    Done send(Key key, bool pressed) override
    {
        log.push_back({pressed, key});
        if ((pressed ? failPress : failRelease) == key)
            return Failure{Reason::PostFailed, s("rejected")};
        return std::monostate{};
    }
};

class ChordSynthesizerTest : public ::testing::Test {
protected:
    // Posts and records the outcome; nothing runs until the clock moves.
    void post(Chord chord, Target target, QObject* context = nullptr)
    {
        m_synth.post(chord, target, context ? context : &m_context,
                     [this](const KeySynthesizer::Outcome& outcome) { m_outcomes.push_back(outcome); });
    }

    ScriptedKeyboard m_keyboard;
    ManualClock m_clock;
    ChordSynthesizer m_synth{m_keyboard, m_clock};
    QObject m_context;
    std::vector<KeySynthesizer::Outcome> m_outcomes;
};

TEST_F(ChordSynthesizerTest, EachChordPressesItsKeysAndReleasesThemInReverse)
{
    struct Case {
        Chord chord;
        Target target;
        Strokes log;
        std::optional<Reason> refused = {};
    };
    // clang-format off
    const Case cases[] = {
        {.chord = Chord::Paste, .target = Target::Application, .log = {down(Control), down(V), up(V), up(Control)}},
        {.chord = Chord::Copy, .target = Target::Application, .log = {down(Control), down(C), up(C), up(Control)}},
        {.chord = Chord::Paste, .target = Target::Terminal, .log = {down(Control), down(Shift), down(V), up(V), up(Shift), up(Control)}},
        // An interrupted command in the user's terminal is never worth a copied selection.
        {.chord = Chord::Copy, .target = Target::Terminal, .log = {}, .refused = Reason::TerminalCopyRefused},
        {.chord = Chord::Paste, .target = Target::ShiftInsert, .log = {down(Shift), down(Insert), up(Insert), up(Shift)}},
        {.chord = Chord::Copy, .target = Target::ShiftInsert, .log = {}, .refused = Reason::TerminalCopyRefused},
    };
    // clang-format on
    for (const Case& c : cases) {
        m_keyboard.log.clear();
        m_outcomes.clear();
        post(c.chord, c.target);
        m_clock.advance(0);
        ASSERT_EQ(m_outcomes.size(), 1u);
        EXPECT_EQ(m_keyboard.log, c.log);
        EXPECT_EQ(m_outcomes[0].ok(), !c.refused);
        if (c.refused) {
            EXPECT_EQ(m_outcomes[0].error().reason, *c.refused);
        }
    }
}

TEST_F(ChordSynthesizerTest, WaitsForModifiersThatWouldChangeTheChordAndLeavesTheUsersKeysAlone)
{
    struct Case {
        const char* what;
        Target target;
        SyntheticKeyboard::State held;
        int releasedAfterMs; // -1: held for good
        qint64 waitedMs;     // -1: gives up
        Strokes log;
    };
    const Strokes paste{down(Control), down(V), up(V), up(Control)};
    // clang-format off
    const Case cases[] = {
        {.what = "Alt let go in time", .target = Target::Application, .held = {.other = {s("Alt_L")}}, .releasedAfterMs = 120, .waitedMs = 120, .log = paste},
        {.what = "Alt held for good", .target = Target::Application, .held = {.other = {s("Alt_L")}}, .releasedAfterMs = -1, .waitedMs = -1, .log = {}},
        {.what = "Shift turns Ctrl+V into another chord", .target = Target::Application, .held = {.shift = {s("Shift_R")}}, .releasedAfterMs = -1, .waitedMs = -1, .log = {}},
        {.what = "Shift is part of the terminal's chord", .target = Target::Terminal, .held = {.shift = {s("Shift_R")}}, .releasedAfterMs = -1, .waitedMs = 0, .log = {down(Control), down(Shift), down(V), up(V), up(Shift), up(Control)}},
        {.what = "a push-to-talk hotkey on Right Control", .target = Target::Application, .held = {.control = {s("Control_R")}}, .releasedAfterMs = -1, .waitedMs = 0, .log = paste},
        {.what = "Left Control held stays held", .target = Target::Application, .held = {.control = {s("Control_L")}, .down = {Key::Control}}, .releasedAfterMs = -1, .waitedMs = 0, .log = {down(V), up(V)}},
        {.what = "Control turns Shift+Insert into another chord", .target = Target::ShiftInsert, .held = {.control = {s("Control_R")}}, .releasedAfterMs = -1, .waitedMs = -1, .log = {}},
        {.what = "Shift held is part of Shift+Insert", .target = Target::ShiftInsert, .held = {.shift = {s("Shift_L")}, .down = {Key::Shift}}, .releasedAfterMs = -1, .waitedMs = 0, .log = {down(Insert), up(Insert)}},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        m_keyboard.log.clear();
        m_keyboard.held = c.held;
        m_outcomes.clear();
        const qint64 start = m_clock.elapsedMs();
        post(Chord::Paste, c.target);
        if (c.releasedAfterMs >= 0) {
            m_clock.advance(c.releasedAfterMs - 1);
            EXPECT_TRUE(m_keyboard.log.empty()) << "posted while a modifier was held";
            m_keyboard.held = {};
        }
        m_clock.advance(ChordSynthesizer::defaultWaitMs + ChordSynthesizer::pollMs);
        ASSERT_EQ(m_outcomes.size(), 1u);
        EXPECT_EQ(m_keyboard.log, c.log);
        if (c.waitedMs >= 0) {
            ASSERT_TRUE(m_outcomes[0].ok());
            EXPECT_EQ(m_outcomes[0].value().waitedMs, c.waitedMs);
        } else {
            ASSERT_FALSE(m_outcomes[0].ok());
            EXPECT_EQ(m_outcomes[0].error().reason, Reason::ModifiersHeld);
            EXPECT_TRUE(m_outcomes[0].error().detail.contains(c.held.other.value(0, c.held.shift.value(0))));
            EXPECT_LT(m_clock.elapsedMs() - start,
                      ChordSynthesizer::defaultWaitMs + 2 * ChordSynthesizer::pollMs)
                << "the wait must be bounded";
        }
        m_keyboard.held = {};
    }
}

TEST_F(ChordSynthesizerTest, EveryKeyPressedIsReleasedWhateverFails)
{
    struct Case {
        const char* what;
        Target target;
        std::optional<Key> failPress;
        std::optional<Key> failRelease;
        bool unreadable;
        Strokes log;
        Reason reason;
    };
    // clang-format off
    const Case cases[] = {
        {.what = "the letter is rejected", .target = Target::Application, .failPress = V, .failRelease = {}, .unreadable = false, .log = {down(Control), down(V), up(V), up(Control)}, .reason = Reason::PostFailed},
        {.what = "Shift is rejected", .target = Target::Terminal, .failPress = Shift, .failRelease = {}, .unreadable = false, .log = {down(Control), down(Shift), up(Shift), up(Control)}, .reason = Reason::PostFailed},
        {.what = "Control is rejected", .target = Target::Application, .failPress = Control, .failRelease = {}, .unreadable = false, .log = {down(Control), up(Control)}, .reason = Reason::PostFailed},
        {.what = "releasing the letter is rejected", .target = Target::Application, .failPress = {}, .failRelease = V, .unreadable = false, .log = {down(Control), down(V), up(V), up(Control)}, .reason = Reason::PostFailed},
        {.what = "the keyboard cannot be read", .target = Target::Application, .failPress = {}, .failRelease = {}, .unreadable = true, .log = {}, .reason = Reason::Unavailable},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        m_keyboard.log.clear();
        m_keyboard.failPress = c.failPress;
        m_keyboard.failRelease = c.failRelease;
        m_keyboard.unreadable = c.unreadable;
        m_outcomes.clear();
        post(Chord::Paste, c.target);
        m_clock.advance(0);
        ASSERT_EQ(m_outcomes.size(), 1u);
        EXPECT_EQ(m_keyboard.log, c.log);
        ASSERT_FALSE(m_outcomes[0].ok());
        EXPECT_EQ(m_outcomes[0].error().reason, c.reason);
    }
}

TEST_F(ChordSynthesizerTest, ChordsGoOutInOrderAndOneWhoseCallerWentAwayIsDropped)
{
    m_keyboard.held = {.other = {s("Super_L")}};
    auto gone = std::make_unique<QObject>();
    post(Chord::Copy, Target::Application, gone.get());
    post(Chord::Paste, Target::Application);
    EXPECT_TRUE(m_outcomes.empty()) << "answered inside post()";

    m_clock.advance(50);
    gone.reset();
    m_keyboard.held = {};
    m_clock.advance(ChordSynthesizer::pollMs);

    EXPECT_EQ(m_keyboard.log, (Strokes{down(Control), down(V), up(V), up(Control)}))
        << "the copy of a caller that went away must not be posted";
    ASSERT_EQ(m_outcomes.size(), 1u);
    EXPECT_TRUE(m_outcomes[0].ok());
    EXPECT_EQ(m_clock.pendingCount(), 0) << "no poll may outlive the queue";
}

TEST_F(ChordSynthesizerTest, AChordAskedForInsideACallbackWaitsItsTurn)
{
    std::size_t strokesBeforeDone = 0;
    m_synth.post(Chord::Paste, Target::Application, &m_context, [&](const KeySynthesizer::Outcome&) {
        strokesBeforeDone = m_keyboard.log.size();
        post(Chord::Copy, Target::Application);
    });
    m_clock.advance(0);
    EXPECT_EQ(strokesBeforeDone, 4u);
    EXPECT_EQ(m_keyboard.log, (Strokes{down(Control), down(V), up(V), up(Control), down(Control), down(C),
                                       up(C), up(Control)}));
}

} // namespace
