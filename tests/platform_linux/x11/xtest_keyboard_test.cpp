#include "test_text.h"
#include "test_x_client.h"

#include "core/base/system_clock.h"
#include "platform/linux/keys/chord_synthesizer.h"
#include "platform/linux/x11/xtest_keyboard.h"
#include "service_check.h"

#include <gtest/gtest.h>

#include <optional>

namespace {

using Chord = KeySynthesizer::Chord;
using Target = KeySynthesizer::Target;
using Reason = KeySynthesizer::Failure::Reason;
using KeyEvents = QList<TestXClient::KeyEvent>;
constexpr auto press = &TestXClient::press;
constexpr auto release = &TestXClient::release;

// Chords posted through XTest into a window of the private Xvfb, as that window receives them.
class XTestKeyboardTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        QUENDA_NEEDS_SERVICE(m_x.display(), "the X server of scripts/with-services");
        m_window = m_x.createWindow("field", "Field", 0);
        m_x.focus(m_window);
        m_x.keyEvents();
    }
    void TearDown() override
    {
        if (m_x.display())
            m_x.destroyWindow(m_window);
    }

    KeySynthesizer::Outcome post(ChordSynthesizer& synth, Chord chord, Target target)
    {
        std::optional<KeySynthesizer::Outcome> outcome;
        synth.post(chord, target, &m_context, [&](const KeySynthesizer::Outcome& o) { outcome = o; });
        EXPECT_TRUE(m_x.waitFor([&] { return outcome.has_value(); }));
        return outcome.value_or(KeySynthesizer::Failure{Reason::Unavailable, s("no answer")});
    }
    // The window's key events once as many as expected arrived (or the time is up).
    KeyEvents events(qsizetype expected)
    {
        KeyEvents events;
        m_x.waitFor([&] {
            events += m_x.keyEvents();
            return events.size() >= expected;
        });
        return events;
    }

    TestXClient m_x;
    quint64 m_window = 0;
    QObject m_context;
    SystemClock m_clock;
    XTestKeyboard m_keyboard;
    ChordSynthesizer m_synth{m_keyboard, m_clock};
};

TEST_F(XTestKeyboardTest, TheFocusedWindowReceivesEachChordAndNoKeyStaysDown)
{
    struct Case {
        Chord chord;
        Target target;
        KeyEvents events;
    };
    // clang-format off
    const Case cases[] = {
        {.chord = Chord::Paste, .target = Target::Application, .events = {press("Control_L", ""), press("v", "C"), release("v", "C"), release("Control_L", "C")}},
        {.chord = Chord::Copy, .target = Target::Application, .events = {press("Control_L", ""), press("c", "C"), release("c", "C"), release("Control_L", "C")}},
        {.chord = Chord::Paste, .target = Target::Terminal, .events = {press("Control_L", ""), press("Shift_L", "C"), press("v", "CS"), release("v", "CS"), release("Shift_L", "CS"), release("Control_L", "C")}},
    };
    // clang-format on
    for (const Case& c : cases) {
        const auto outcome = post(m_synth, c.chord, c.target);
        ASSERT_TRUE(outcome.ok()) << outcome.error().detail.toStdString();
        EXPECT_EQ(events(c.events.size()), c.events);
        EXPECT_EQ(m_x.keysDown(), QStringList());
    }
}

TEST_F(XTestKeyboardTest, TheCopyIntoATerminalSendsNoKeyAtAll)
{
    const auto outcome = post(m_synth, Chord::Copy, Target::Terminal);
    ASSERT_FALSE(outcome.ok());
    EXPECT_EQ(outcome.error().reason, Reason::TerminalCopyRefused);
    // A paste after it shows that the window would have received anything sent before.
    ASSERT_TRUE(post(m_synth, Chord::Paste, Target::Application).ok());
    EXPECT_EQ(events(4).value(0), press("Control_L", ""));
}

TEST_F(XTestKeyboardTest, AHeldAltHoldsTheChordBackAndAHeldControlIsLeftDown)
{
    ChordSynthesizer quick(m_keyboard, m_clock, 100);

    m_x.key("Alt_L", true);
    const auto held = post(quick, Chord::Paste, Target::Application);
    ASSERT_FALSE(held.ok());
    EXPECT_EQ(held.error().reason, Reason::ModifiersHeld);
    EXPECT_TRUE(held.error().detail.contains(s("Alt_L"))) << held.error().detail.toStdString();
    m_x.key("Alt_L", false);
    EXPECT_EQ(m_x.keyEvents(), (KeyEvents{press("Alt_L", ""), release("Alt_L", "A")}))
        << "a key was sent past a held Alt";

    // The user's own Control keys stay as the user holds them.
    struct Case {
        const char* held;
        KeyEvents events;
    };
    // clang-format off
    const Case cases[] = {
        {.held = "Control_R", .events = {press("Control_R", ""), press("Control_L", "C"), press("v", "C"), release("v", "C"), release("Control_L", "C")}},
        {.held = "Control_L", .events = {press("Control_L", ""), press("v", "C"), release("v", "C")}},
    };
    // clang-format on
    for (const Case& c : cases) {
        m_x.key(c.held, true);
        ASSERT_TRUE(post(quick, Chord::Paste, Target::Application).ok());
        EXPECT_EQ(events(c.events.size()), c.events);
        EXPECT_EQ(m_x.keysDown(), QStringList{s(c.held)});
        m_x.key(c.held, false);
        EXPECT_EQ(events(1), KeyEvents{release(c.held, "C")});
    }
}

} // namespace
