#include "test_text.h"

#include "platform/fake/fake_key_synthesizer.h"
#include "platform/fake/fake_pasteboard.h"
#include "platform/fake/fake_text_field.h"
#include "platform/fake/manual_clock.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

using Chord = KeySynthesizer::Chord;
using Target = KeySynthesizer::Target;
using Reason = KeySynthesizer::Failure::Reason;

class FakeKeySynthesizerTest : public ::testing::Test {
protected:
    std::optional<KeySynthesizer::Outcome> post(Chord chord, Target target, QObject* context = nullptr)
    {
        std::optional<KeySynthesizer::Outcome> outcome;
        m_keys.post(chord, target, context ? context : &m_context,
                    [&outcome](const KeySynthesizer::Outcome& o) { outcome = o; });
        EXPECT_FALSE(outcome) << "answered inside post()";
        m_clock.advance(0);
        return outcome;
    }

    ManualClock m_clock;
    FakePasteboard m_board;
    FakeKeySynthesizer m_keys{m_clock};
    FakeTextField m_field{m_board, m_keys};
    QObject m_context;
};

TEST_F(FakeKeySynthesizerTest, PostedChordsEditTheFocusedFieldAsARealOneWould)
{
    struct Case {
        const char* what;
        bool terminal;
        Chord chord;
        Target target;
        qsizetype selectionStart;
        qsizetype selectionLength;
        QString text;      // after the chord
        qsizetype caret;   // after the chord
        QString clipboard; // after the chord
        int interrupts;
        std::optional<Reason> failure = {};
    };
    const Case cases[] = {
        {.what = "paste over a selection",
         .terminal = false,
         .chord = Chord::Paste,
         .target = Target::Application,
         .selectionStart = 6,
         .selectionLength = 5,
         .text = s("Hello dictated!"),
         .caret = 14,
         .clipboard = s("dictated"),
         .interrupts = 0},
        {.what = "copy a selection",
         .terminal = false,
         .chord = Chord::Copy,
         .target = Target::Application,
         .selectionStart = 0,
         .selectionLength = 5,
         .text = s("Hello world!"),
         .caret = 0,
         .clipboard = s("Hello"),
         .interrupts = 0},
        {.what = "Ctrl+Shift+V into a terminal",
         .terminal = true,
         .chord = Chord::Paste,
         .target = Target::Terminal,
         .selectionStart = 12,
         .selectionLength = 0,
         .text = s("Hello world!dictated"),
         .caret = 20,
         .clipboard = s("dictated"),
         .interrupts = 0},
        {.what = "copy from a terminal",
         .terminal = true,
         .chord = Chord::Copy,
         .target = Target::Terminal,
         .selectionStart = 0,
         .selectionLength = 5,
         .text = s("Hello world!"),
         .caret = 0,
         .clipboard = s("dictated"),
         .interrupts = 0,
         .failure = Reason::TerminalCopyRefused},
        {.what = "a terminal the caller mistook for an application",
         .terminal = true,
         .chord = Chord::Copy,
         .target = Target::Application,
         .selectionStart = 0,
         .selectionLength = 5,
         .text = s("Hello world!"),
         .caret = 0,
         .clipboard = s("dictated"),
         .interrupts = 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        m_board.writeText(s("dictated"));
        m_field.setText(s("Hello world!"), c.selectionStart, c.selectionLength);
        const int interruptsBefore = m_field.interrupts();
        m_field.setTerminal(c.terminal);

        const auto outcome = post(c.chord, c.target);

        ASSERT_TRUE(outcome);
        EXPECT_EQ(outcome->ok(), !c.failure);
        if (c.failure) {
            EXPECT_EQ(outcome->error().reason, *c.failure);
        }
        EXPECT_EQ(m_field.text(), c.text);
        EXPECT_EQ(m_field.selectionStart(), c.caret);
        EXPECT_EQ(m_board.plainText(), c.clipboard);
        EXPECT_EQ(m_field.interrupts() - interruptsBefore, c.interrupts);
    }
}

TEST_F(FakeKeySynthesizerTest, AChordForACallerThatWentAwayChangesNothing)
{
    m_board.writeText(s("dictated"));
    m_field.setText(s("field"), 5);

    auto gone = std::make_unique<QObject>();
    bool answered = false;
    m_keys.post(Chord::Paste, Target::Application, gone.get(),
                [&](const KeySynthesizer::Outcome&) { answered = true; });
    gone.reset();
    m_clock.advance(0);

    EXPECT_FALSE(answered);
    EXPECT_EQ(m_field.text(), s("field"));
    EXPECT_TRUE(m_keys.posted().isEmpty());
}

} // namespace
