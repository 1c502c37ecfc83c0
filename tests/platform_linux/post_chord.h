#pragma once

#include "test_text.h"

#include "platform/fake/manual_clock.h"
#include "platform/key_synthesizer.h"
#include "platform/linux/keys/chord_synthesizer.h"

#include <QTest>

#include <gtest/gtest.h>

#include <optional>

// Posts a chord for an application window and waits (bounded) for its outcome.
inline KeySynthesizer::Outcome postChord(KeySynthesizer& synth, KeySynthesizer::Chord chord, int timeoutMs)
{
    QObject context;
    std::optional<KeySynthesizer::Outcome> outcome;
    synth.post(chord, KeySynthesizer::Target::Application, &context,
               [&](const KeySynthesizer::Outcome& o) { outcome = o; });
    EXPECT_TRUE(QTest::qWaitFor([&] { return outcome.has_value(); }, timeoutMs));
    return outcome.value_or(
        KeySynthesizer::Failure{KeySynthesizer::Failure::Reason::Unavailable, s("no answer")});
}

// The paste chord posted on `keyboard` as the chord layer posts it, answered before this returns:
// every keyboard here answers without waiting.
inline KeySynthesizer::Outcome pasteAtOnce(SyntheticKeyboard& keyboard)
{
    ManualClock clock;
    ChordSynthesizer keys(keyboard, clock);
    std::optional<KeySynthesizer::Outcome> outcome;
    QObject context;
    keys.post(KeySynthesizer::Chord::Paste, KeySynthesizer::Target::Application, &context,
              [&](const KeySynthesizer::Outcome& o) { outcome = o; });
    clock.advance(0);
    return outcome.value_or(
        KeySynthesizer::Failure{KeySynthesizer::Failure::Reason::PostFailed, s("no answer")});
}
