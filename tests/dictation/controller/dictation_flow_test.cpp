#include "controller_fixture.h"

#include "core/model/apple_notes_folder.h"
#include "core/text/l10n.h"
#include "dictation/controller/reset_delay.h"
#include "test_text.h"

namespace {

QString textOf(const char* key)
{
    return L10n::s(QString::fromLatin1(key));
}

EngineError engineError(const char* message)
{
    return {EngineError::Kind::Engine, QString::fromUtf8(message)};
}

// Reaches a phase the only way a user can, so the delay it shows is the one that applies.
struct ResetCase {
    const char* name;
    std::function<void(class PhaseReset&)> reach;
    std::function<Phase()> expected;
    int resetMs;
};

class PhaseReset : public ControllerFixture, public ::testing::WithParamInterface<ResetCase> {
public:
    using ControllerFixture::configure;
    using ControllerFixture::dictate;
    using ControllerFixture::escape;
    using ControllerFixture::hold;
    using ControllerFixture::record;
    FakeSpeechService& speech() { return m_speech; }
    FakeRecorder& recorder() { return m_recorder; }
    FakeInserter& inserter() { return m_inserter; }
    FakeMicrophone& microphone() { return m_microphone; }
};

// A phase that stays too short cannot be read, one that never goes blocks the next message.
TEST_P(PhaseReset, ShowsThePhaseForItsDelayThenIdle)
{
    const ResetCase& c = GetParam();
    c.reach(*this);
    ASSERT_EQ(phase(), c.expected());
    m_clock.advance(c.resetMs - 1);
    EXPECT_EQ(phase(), c.expected());
    m_clock.advance(1);
    EXPECT_EQ(phase(), Phase::idle());
}

const ResetCase kResets[] = {
    {.name = "EngineNotReady",
     .reach = [](PhaseReset& f) { f.speech().isReady = false, f.hold(); },
     .expected = [] { return Phase::notice(textOf("notice.loading")); },
     .resetMs = ResetDelay::loadingMs},
    {.name = "MicrophoneDenied",
     .reach = [](PhaseReset& f) { f.microphone().state = MicrophoneAccess::Status::Denied, f.hold(); },
     .expected = [] { return Phase::failed(textOf("notice.micDenied")); },
     .resetMs = ResetDelay::micDeniedMs},
    {.name = "RecorderFails",
     .reach = [](PhaseReset& f) { f.recorder().failure = s("no device"), f.hold(); },
     .expected = [] { return Phase::failed(s("no device")); },
     .resetMs = ResetDelay::startFailedMs},
    {.name = "TooShort",
     .reach = [](PhaseReset& f) { f.recorder().wav.reset(), f.record(); },
     .expected = [] { return Phase::notice(textOf("notice.nothingHeard")); },
     .resetMs = ResetDelay::nothingHeardMs},
    {.name = "TranscriptionFails",
     .reach =
         [](PhaseReset& f) { f.record(), f.speech().answer(s("transcribe"), engineError("model gone")); },
     .expected = [] { return Phase::failed(s("model gone")); },
     .resetMs = ResetDelay::failedMs},
    {.name = "OnlyWhiteSpaceHeard",
     .reach = [](PhaseReset& f) { f.dictate(s(" \n\t ")); },
     .expected = [] { return Phase::notice(textOf("notice.nothingRecognized")); },
     .resetMs = ResetDelay::nothingHeardMs},
    {.name = "Pasted",
     .reach = [](PhaseReset& f) { f.dictate(s("hello")); },
     .expected = [] { return Phase::done(s("hello"), true); },
     .resetMs = ResetDelay::pastedMs},
    {.name = "KeptOnClipboard",
     .reach =
         [](PhaseReset& f) {
             f.inserter().landing = Inserter::Landing::KeptOnClipboard, f.dictate(s("hello"));
         },
     .expected = [] { return Phase::done(s("hello"), false); },
     .resetMs = ResetDelay::notPastedMs},
};

INSTANTIATE_TEST_SUITE_P(Phases, PhaseReset, ::testing::ValuesIn(kResets),
                         [](const auto& info) { return std::string(info.param.name); });

using FlowTest = ControllerFixture;

TEST_F(FlowTest, AResetDueForAnEarlierNoticeDoesNotEndANewerRecording)
{
    m_recorder.wav.reset();
    record();
    ASSERT_EQ(phase(), Phase::notice(L10n::s(s("notice.nothingHeard"))));
    m_clock.advance(1000);
    m_recorder.wav = QByteArray("RIFF");
    hold();
    m_clock.advance(1000);
    EXPECT_EQ(phase(), Phase::listening());
}

TEST_F(FlowTest, ASecondDictationWhileTheFirstIsTranscribingLeavesNothingOfTheFirst)
{
    record();
    hold();
    // The first answer arrives before the cancelled run is gone: the checks alone must drop it.
    m_speech.answer(s("transcribe"), s("stale words"));
    flushDeletes();
    release();
    m_speech.answer(s("transcribe"), s("fresh words"));

    EXPECT_EQ(m_inserter.writes(), QStringList{s("insert:fresh words")});
    EXPECT_EQ(historyTexts(), QStringList{s("fresh words")});
    EXPECT_EQ(phase(), Phase::done(s("fresh words"), true));
}

TEST_F(FlowTest, ANewRecordingAbortsTheRunningTranscription)
{
    record();
    hold();
    flushDeletes();
    EXPECT_EQ(m_speech.open(), 0);
}

// How Escape is reached in each phase, and what must still be open then.
struct EscapeCase {
    const char* name;
    std::function<void(ControllerFixture&, FakeSpeechService&, FakeInserter&)> reach;
    Phase::Kind during;
};

class EscapeInPhase : public ControllerFixture, public ::testing::WithParamInterface<EscapeCase> {
public:
    using ControllerFixture::configure;
    using ControllerFixture::dictate;
    using ControllerFixture::hold;
    using ControllerFixture::record;
};

// A cancelled dictation that still pasted or showed a result later would act against the user.
TEST_P(EscapeInPhase, NothingLandsAfterwardsAndTheRequestsAreAborted)
{
    GetParam().reach(*this, m_speech, m_inserter);
    ASSERT_EQ(phase().kind(), GetParam().during);
    const QStringList writesBefore = m_inserter.writes();
    const int historyBefore = int(state().history().size());

    escape();
    // Every answer arrives before the run is destroyed.
    while (m_speech.answer(s(""), s("late answer"))) {
    }
    m_inserter.releaseSelection(s("late selection"));
    EXPECT_EQ(phase(), Phase::notice(L10n::s(s("notice.cancelled"))));
    flushDeletes();
    m_clock.advance(ResetDelay::cancelledMs);

    EXPECT_EQ(phase(), Phase::idle());
    EXPECT_EQ(m_inserter.writes(), writesBefore);
    EXPECT_EQ(state().history().size(), historyBefore);
    EXPECT_EQ(m_speech.open(), 0);
    EXPECT_FALSE(m_recorder.recording);
    EXPECT_FALSE(state().rewriting());
}

const EscapeCase kEscapes[] = {
    {.name = "Listening",
     .reach = [](ControllerFixture& f, FakeSpeechService&,
                 FakeInserter&) { static_cast<EscapeInPhase&>(f).hold(); },
     .during = Phase::Kind::Listening},
    {.name = "Transcribing",
     .reach = [](ControllerFixture& f, FakeSpeechService&,
                 FakeInserter&) { static_cast<EscapeInPhase&>(f).record(); },
     .during = Phase::Kind::Transcribing},
    {.name = "WaitingForTheSelection",
     .reach =
         [](ControllerFixture& f, FakeSpeechService&, FakeInserter& inserter) {
             inserter.holdSelection = true;
             static_cast<EscapeInPhase&>(f).dictate(s("make it short"));
         },
     .during = Phase::Kind::Transcribing},
    {.name = "PolishingAfterTheRawPaste",
     .reach =
         [](ControllerFixture& f, FakeSpeechService&, FakeInserter&) {
             auto& e = static_cast<EscapeInPhase&>(f);
             e.configure([](QuendaConfig& c) { c.autoCorrect = true, c.polishProvider = s("openai"); });
             e.dictate(s("raw words"));
         },
     .during = Phase::Kind::Polishing},
    {.name = "CommandOnASelection",
     .reach =
         [](ControllerFixture& f, FakeSpeechService&, FakeInserter& inserter) {
             inserter.selection = s("the selected text");
             static_cast<EscapeInPhase&>(f).dictate(s("make it short"));
         },
     .during = Phase::Kind::Polishing},
};

INSTANTIATE_TEST_SUITE_P(Phases, EscapeInPhase, ::testing::ValuesIn(kEscapes),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(FlowTest, EscapeWhileTranslatingAbortsTheTranslationAndInsertsNothing)
{
    m_inserter.selection = s("Guten Morgen");
    controller().translateSelection(s("en"));
    ASSERT_EQ(phase(), Phase::translating(s("en")));
    escape();
    m_speech.answer(s("polish"), s("Good morning"));
    flushDeletes();
    EXPECT_EQ(m_inserter.writes(), QStringList{});
    EXPECT_TRUE(state().history().isEmpty());
    EXPECT_EQ(phase(), Phase::notice(L10n::s(s("notice.cancelled"))));
}

TEST_F(FlowTest, EscapeWhenIdleChangesNothing)
{
    const int timers = m_clock.pendingCount();
    escape();
    EXPECT_EQ(phase(), Phase::idle());
    EXPECT_EQ(m_clock.pendingCount(), timers);
}

struct MicrophoneCase {
    const char* name;
    bool handsFree;
    bool granted;
    bool recordsAfterwards;
};

class MicrophoneRequest : public ControllerFixture, public ::testing::WithParamInterface<MicrophoneCase> {};

// A hold whose key went up during the request would record until the length limit.
TEST_P(MicrophoneRequest, OnlyAHandsFreeStartResumesOnceGranted)
{
    const MicrophoneCase& c = GetParam();
    m_microphone.state = MicrophoneAccess::Status::Undetermined;
    if (c.handsFree)
        emit m_hotkey.toggled();
    else
        hold();
    EXPECT_EQ(m_recorder.starts, 0);
    release();
    m_microphone.answer(c.granted);
    EXPECT_EQ(m_recorder.recording, c.recordsAfterwards);
    EXPECT_EQ(phase() == Phase::listening(), c.recordsAfterwards);
}

INSTANTIATE_TEST_SUITE_P(
    Starts, MicrophoneRequest,
    ::testing::Values(
        MicrophoneCase{
            .name = "HoldGranted", .handsFree = false, .granted = true, .recordsAfterwards = false},
        MicrophoneCase{
            .name = "HandsFreeGranted", .handsFree = true, .granted = true, .recordsAfterwards = true},
        MicrophoneCase{
            .name = "HandsFreeDenied", .handsFree = true, .granted = false, .recordsAfterwards = false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(FlowTest, AHotkeyPressClearsAFinishedPhaseAndThePreviewAtOnce)
{
    configure([](QuendaConfig& c) { c.showDictationPreview = true; });
    m_inserter.landing = Inserter::Landing::KeptOnClipboard;
    dictate(s("hello"));
    ASSERT_TRUE(state().dictationPreview().has_value());
    m_speech.isReady = false;
    hold();
    ASSERT_EQ(phase().kind(), Phase::Kind::Notice);
    emit m_hotkey.pressed();
    EXPECT_EQ(phase(), Phase::idle());
    EXPECT_FALSE(state().dictationPreview().has_value());
}

TEST_F(FlowTest, TheHoldKeyDuringHandsFreeChangesNothing)
{
    struct Row {
        const char* name;
        bool press; // the key goes down before it goes up
    };
    const Row rows[] = {{.name = "release alone", .press = false},
                        {.name = "hold and release", .press = true}};
    for (const Row& row : rows) {
        emit m_hotkey.toggled();
        const int starts = m_recorder.starts;
        if (row.press)
            hold();
        release();
        EXPECT_EQ(phase(), Phase::listening()) << row.name;
        EXPECT_TRUE(state().handsFree()) << row.name;
        EXPECT_EQ(m_recorder.starts, starts) << row.name;
        emit m_hotkey.toggled();
        EXPECT_EQ(phase(), Phase::transcribing()) << row.name;
        escape();
        m_clock.advance(1000);
    }
}

// Right Ctrl+A held a little long must neither paste what was heard over the selection nor show
// anything; a hands-free recording is not for the hotkey's shortcuts to end.
TEST_F(FlowTest, AShortcutTypedDuringTheHoldDropsItsRecordingAtOnce)
{
    struct Row {
        const char* name;
        bool handsFree;
        bool recordsOn;
    };
    // clang-format off
    const Row rows[] = {{.name = "hold",       .handsFree = false, .recordsOn = false},
                        {.name = "hands-free", .handsFree = true,  .recordsOn = true}};
    // clang-format on
    for (const Row& row : rows) {
        if (row.handsFree)
            emit m_hotkey.toggled();
        else
            hold();
        m_clock.advance(DictationController::kSilenceAfterSoundMs + 100);
        m_silencer.log.clear();
        emit m_hotkey.shortcutTyped();
        EXPECT_EQ(m_recorder.recording, row.recordsOn) << row.name;
        EXPECT_EQ(m_silencer.log, row.recordsOn ? QStringList{} : QStringList{s("end")}) << row.name;
        release();
        m_clock.advance(5000);
        EXPECT_EQ(phase(), row.recordsOn ? Phase::listening() : Phase::idle()) << row.name;
        EXPECT_EQ(m_speech.sent(), QStringList{}) << row.name;
        EXPECT_TRUE(state().history().isEmpty()) << row.name;
        escape();
        m_clock.advance(5000);
    }
}

TEST_F(FlowTest, TheLengthLimitEndsTheRecording)
{
    emit m_hotkey.toggled();
    emit m_recorder.limitReached();
    EXPECT_EQ(phase(), Phase::transcribing());
}

// A late result of an older run reaching the next recording would take its phase: the release
// would not end it, and it would run to the length limit with other audio muted.
struct LateCase {
    const char* name;
    std::function<void(ControllerFixture&)> start;  // leaves a result of the older run due
    std::function<void(ControllerFixture&)> finish; // delivers it once the next hold started
};

class LateResult : public ControllerFixture, public ::testing::WithParamInterface<LateCase> {
public:
    using ControllerFixture::configure;
    using ControllerFixture::controller;
    using ControllerFixture::dictate;
    FakeInserter& inserter() { return m_inserter; }
    FakeScriptRunner& scripts() { return m_runner; }
};

TEST_P(LateResult, LeavesTheNextRecordingListeningAndItsReleaseEndsIt)
{
    GetParam().start(*this);
    hold();
    GetParam().finish(*this);
    EXPECT_EQ(phase(), Phase::listening());
    EXPECT_TRUE(m_recorder.recording);
    release();
    EXPECT_EQ(phase(), Phase::transcribing());
    EXPECT_FALSE(m_recorder.recording);
}

void saveToNotesFolder(ControllerFixture& f)
{
    auto& late = static_cast<LateResult&>(f);
    late.configure(
        [](QuendaConfig& c) { c.noteDestination = s("iCloud") + AppleNotesFolder::separator + s("Work"); });
    late.inserter().selection = s("Milk, eggs");
    late.dictate(s("Save this to my notes"));
}

void chooseWithHeldWrite(ControllerFixture& f)
{
    auto& late = static_cast<LateResult&>(f);
    late.inserter().holdWrites = true;
    late.controller().applyOverlayChoice({OverlayResultChoice::Kind::Command, s("Command"), s("short")});
}

// clang-format off
const LateCase kLateResults[] = {
    {.name = "NoteSave", .start = saveToNotesFolder, .finish = [](ControllerFixture& f) { static_cast<LateResult&>(f).scripts().finishNext(FakeScriptRunner::exited(1, {}, "no Notes")); }},
    {.name = "OverlayChoice", .start = chooseWithHeldWrite, .finish = [](ControllerFixture& f) { static_cast<LateResult&>(f).inserter().heldWrite(); }},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(Results, LateResult, ::testing::ValuesIn(kLateResults),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
