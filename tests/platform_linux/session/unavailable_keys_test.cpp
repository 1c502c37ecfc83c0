#include "platform/linux/session/unavailable_keys.h"
#include "test_text.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

#include <memory>
#include <optional>

using Chord = KeySynthesizer::Chord;
using Target = KeySynthesizer::Target;
using Reason = KeySynthesizer::Failure::Reason;

// A session without a key route fails each chord with its reason, later, as every synthesiser answers.
TEST(UnavailableKeys, FailsEveryChordLaterWithTheSessionsReasonAndNeverAfterTheCallerIsGone)
{
    UnavailableKeys keys(s("no way here"));
    QObject caller;
    auto gone = std::make_unique<QObject>();
    std::optional<KeySynthesizer::Outcome> answer;
    int lateAnswers = 0;
    keys.post(Chord::Paste, Target::Application, &caller,
              [&](const KeySynthesizer::Outcome& o) { answer = o; });
    keys.post(Chord::Copy, Target::Application, gone.get(),
              [&](const KeySynthesizer::Outcome&) { ++lateAnswers; });
    EXPECT_FALSE(answer) << "answered before the caller's post returned";
    gone.reset();
    QCoreApplication::processEvents();
    ASSERT_TRUE(answer);
    ASSERT_FALSE(answer->ok());
    EXPECT_EQ(answer->error().reason, Reason::Unavailable);
    EXPECT_EQ(answer->error().detail, s("no way here"));
    EXPECT_EQ(lateAnswers, 0);
}
