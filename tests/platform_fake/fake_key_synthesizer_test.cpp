#include "platform/fake/fake_key_synthesizer.h"
#include "platform/fake/manual_clock.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

using Chord = KeySynthesizer::Chord;
using Target = KeySynthesizer::Target;
using Reason = KeySynthesizer::Failure::Reason;

// The inserter suites stand on this fake answering as the real synthesizer does: later, never
// inside post(), refusing a copy into a terminal, and never for a caller that went away.
TEST(FakeKeySynthesizer, AnswersLikeTheRealOne)
{
    struct Case {
        const char* what;
        Chord chord;
        Target target;
        bool callerGone;
        std::optional<Reason> failure;
        bool answered;
        bool posted;
    };
    // clang-format off
    const Case cases[] = {
        {.what = "a paste", .chord = Chord::Paste, .target = Target::Application, .callerGone = false, .failure = std::nullopt, .answered = true, .posted = true},
        {.what = "a copy from a terminal", .chord = Chord::Copy, .target = Target::Terminal, .callerGone = false, .failure = Reason::TerminalCopyRefused, .answered = true, .posted = false},
        {.what = "a caller that went away", .chord = Chord::Paste, .target = Target::Application, .callerGone = true, .failure = std::nullopt, .answered = false, .posted = false},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ManualClock clock;
        FakeKeySynthesizer keys(clock);
        auto context = std::make_unique<QObject>();
        std::optional<KeySynthesizer::Outcome> outcome;
        keys.post(c.chord, c.target, context.get(), [&](const KeySynthesizer::Outcome& o) { outcome = o; });
        EXPECT_FALSE(outcome) << "answered inside post()";
        if (c.callerGone)
            context.reset();
        clock.advance(0);

        ASSERT_EQ(outcome.has_value(), c.answered);
        if (outcome) {
            EXPECT_EQ(outcome->ok(), !c.failure);
            if (c.failure) {
                EXPECT_EQ(outcome->error().reason, *c.failure);
            }
        }
        EXPECT_EQ(keys.posted().isEmpty(), !c.posted);
    }
}

} // namespace
