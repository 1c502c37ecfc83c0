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

using Reach = std::function<void(ControllerFixture&)>;

// Reaches a phase the only way a user can, so the delay it shows is the one that applies.
struct ResetCase {
    const char* name;
    Reach reach;
    std::function<Phase()> expected;
    int resetMs;
    const char* outcome = nullptr; // how the timing log says the dictation ended; none for no dictation
};

class PhaseReset : public ControllerFixture, public ::testing::WithParamInterface<ResetCase> {};

// A phase that stays too short cannot be read, one that never goes blocks the next message.
TEST_P(PhaseReset, ShowsThePhaseForItsDelayThenIdle)
{
    const ResetCase& c = GetParam();
    c.reach(*this);
    ASSERT_EQ(phase(), c.expected());
    const QString log = logged();
    EXPECT_EQ(log.count(s("dictation ended:")), c.outcome ? 1 : 0) << log.toStdString();
    if (c.outcome) {
        EXPECT_TRUE(log.contains(s("dictation ended: ") + s(c.outcome))) << log.toStdString();
    }
    m_clock.advance(c.resetMs - 1);
    EXPECT_EQ(phase(), c.expected());
    m_clock.advance(1);
    EXPECT_EQ(phase(), Phase::idle());
}

using F = ControllerFixture;

// clang-format off
const ResetCase kResets[] = {
    {"EngineNotReady",      [](F& f) { f.m_speech.isReady = false, f.hold(); },                                        [] { return Phase::notice(textOf("notice.loading")); },           ResetDelay::loadingMs},
    {"MicrophoneDenied",    [](F& f) { f.m_microphone.state = MicrophoneAccess::Status::Denied, f.hold(); },           [] { return Phase::failed(textOf("notice.micDenied")); },         ResetDelay::micDeniedMs},
    {"RecorderFails",       [](F& f) { f.m_recorder.failure = s("no device"), f.hold(); },                             [] { return Phase::failed(s("no device")); },                     ResetDelay::startFailedMs},
    {"TooShort",            [](F& f) { f.m_recorder.wav.reset(), f.record(); },                                        [] { return Phase::notice(textOf("notice.nothingHeard")); },      ResetDelay::nothingHeardMs, "nothing heard"},
    {"HoldUnderAQuarterSecond", [](F& f) { f.m_recorder.wav.reset(), f.hold(), f.m_clock.advance(200), f.release(); }, [] { return Phase::notice(textOf("notice.tooShort")); }, ResetDelay::nothingHeardMs, "too short"},
    {"TranscriptionFails",  [](F& f) { f.record(), f.m_speech.answer(Request::Kind::Transcribe, engineError("model gone")); }, [] { return Phase::failed(s("model gone")); },    ResetDelay::failedMs, "failed: model gone"},
    {"OnlyWhiteSpaceHeard", [](F& f) { f.dictate(s(" \n\t ")); },                                                      [] { return Phase::notice(textOf("notice.nothingRecognized")); }, ResetDelay::nothingHeardMs, "nothing recognised"},
    {"Cancelled",           [](F& f) { f.record(), f.escape(); },                                                      [] { return Phase::notice(textOf("notice.cancelled")); },         ResetDelay::cancelledMs, "cancelled"},
    {"Pasted",              [](F& f) { f.dictate(s("hello")); },                                                        [] { return Phase::done(s("hello"), true); },                     ResetDelay::pastedMs, "pasted"},
    {"KeptOnClipboard",     [](F& f) { f.m_inserter.landing = Inserter::Landing::KeptOnClipboard, f.dictate(s("hello")); }, [] { return Phase::done(s("hello"), false); },           ResetDelay::notPastedMs, "copied"},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(Phases, PhaseReset, ::testing::ValuesIn(kResets),
                         [](const auto& info) { return std::string(info.param.name); });

using FlowTest = ControllerFixture;

// A text that reached no field waits on the clipboard only until the next copy; the main window
// offers the newest such one again, until a later text lands.
TEST_F(FlowTest, TheNewestTextThatReachedNoFieldIsMarkedUntilALaterOneLands)
{
    using L = Inserter::Landing;
    const auto deliver = [](F& f, L landing, const char* text) {
        f.m_inserter.landing = landing;
        f.dictate(s(text));
        f.m_clock.advance(ResetDelay::notPastedMs);
    };
    struct Case {
        const char* name;
        Reach reach;
        std::optional<const char*> marked;
    };
    const Case cases[] = {
        // clang-format off
        {"kept",             [&](F& f) { deliver(f, L::KeptOnClipboard, "one"); },                                          "one"},
        {"pasted",           [&](F& f) { deliver(f, L::Pasted, "one"); },                                                   std::nullopt},
        {"kept then pasted", [&](F& f) { deliver(f, L::KeptOnClipboard, "one"), deliver(f, L::Pasted, "two"); },            std::nullopt},
        {"pasted then kept", [&](F& f) { deliver(f, L::Pasted, "one"), deliver(f, L::KeptOnClipboard, "two"); },            "two"},
        {"kept twice",       [&](F& f) { deliver(f, L::KeptOnClipboard, "one"), deliver(f, L::KeptOnClipboard, "two"); },   "two"},
        // clang-format on
        {"translation kept",
         [](F& f) {
             f.m_inserter.landing = L::KeptOnClipboard;
             f.m_inserter.selection = s("Guten Morgen");
             f.m_inserter.focusEditable = true;
             f.controller().translateSelection(s("en"));
             f.m_speech.answer(Request::polish("Guten Morgen", "Guten Morgen", "en"), s("Good morning"));
         },
         "Good morning"},
    };
    for (const Case& c : cases) {
        state().setUnpastedDictation(std::nullopt);
        c.reach(*this);
        const std::optional<HistoryEntry> marked = state().unpastedDictation();
        EXPECT_EQ(marked ? std::optional(marked->text) : std::nullopt,
                  c.marked ? std::optional(s(*c.marked)) : std::nullopt)
            << c.name;
    }
}

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
    m_speech.answer(Request::Kind::Transcribe, s("stale words"));
    flushDeletes();
    release();
    m_speech.answer(Request::Kind::Transcribe, s("fresh words"));

    EXPECT_EQ(m_inserter.writes(), QList{Write::insert("fresh words")});
    EXPECT_EQ(historyTexts(), QStringList{s("fresh words")});
    EXPECT_EQ(phase(), Phase::done(s("fresh words"), true));
}

// The recording goes to the engine while it is made; a recording dropped takes the engine's work on
// it along, and one whose microphone changed format goes whole at its end.
TEST_F(FlowTest, TheEnginesStreamLivesAsLongAsItsRecording)
{
    struct Case {
        const char* name;
        Reach reach;
        bool streamLives; // it carries the recording on to its transcription
        bool transcribed;
    };
    // clang-format off
    const Case cases[] = {
        {"released",                 [](F& f) { f.release(); },                                      true,  true},
        {"escape",                   [](F& f) { f.escape(); },                                       false, false},
        {"escape while transcribing",[](F& f) { f.release(), f.escape(); },                          false, true},
        {"a shortcut",               [](F& f) { emit f.m_hotkey->shortcutTyped(); },                 false, false},
        {"a newer dictation",        [](F& f) { f.release(), f.hold(); },                            false, true},
        {"too short",                [](F& f) { f.m_recorder.wav.reset(), f.release(); },            false, false},
        {"a format change",          [](F& f) { emit f.m_recorder.interrupted(), f.release(); },     false, true},
    };
    // clang-format on
    m_speech.streams = true;
    for (const Case& c : cases) {
        m_speech.opened.clear();
        m_speech.calls.clear();
        m_recorder.wav = QByteArray("RIFF-recording");
        hold();
        emit m_recorder.captured("first samples");
        m_clock.advance(1500);
        c.reach(*this);
        flushDeletes();
        ASSERT_FALSE(m_speech.opened.isEmpty()) << c.name;
        const QPointer<FakeSpeechStream> stream = m_speech.opened.front();
        EXPECT_EQ(bool(stream), c.streamLives) << c.name;
        if (stream) {
            EXPECT_EQ(stream->carried, "first samples") << c.name;
            EXPECT_TRUE(m_speech.finished.contains(stream)) << c.name;
        }
        EXPECT_EQ(!m_speech.calls.empty(), c.transcribed) << c.name;
        escape();
        flushDeletes();
        m_clock.advance(ResetDelay::cancelledMs);
    }
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
    Reach reach;
    Phase::Kind during;
};

class EscapeInPhase : public ControllerFixture, public ::testing::WithParamInterface<EscapeCase> {};

// A cancelled dictation that still pasted or showed a result later would act against the user.
TEST_P(EscapeInPhase, NothingLandsAfterwardsAndTheRequestsAreAborted)
{
    GetParam().reach(*this);
    ASSERT_EQ(phase().kind(), GetParam().during);
    const QList<InserterCall> writesBefore = m_inserter.writes();
    const int historyBefore = int(state().history().size());

    escape();
    // Every answer arrives before the run is destroyed.
    while (m_speech.answerAny(s("late answer"))) {
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

// clang-format off
const EscapeCase kEscapes[] = {
    {"Listening",                 [](F& f) { f.hold(); },                                                   Phase::Kind::Listening},
    {"Transcribing",              [](F& f) { f.record(); },                                                 Phase::Kind::Transcribing},
    {"WaitingForTheSelection",    [](F& f) { f.m_inserter.holdSelection = true, f.dictate(s("make it short")); },       Phase::Kind::Transcribing},
    {"PolishingAfterTheRawPaste", [](F& f) { f.configure([](QuendaConfig& c) { c.autoCorrect = true, c.polishProvider = PolishProvider::OpenAI; }), f.dictate(s("raw words")); }, Phase::Kind::Polishing},
    {"CommandOnASelection",       [](F& f) { f.m_inserter.selection = s("the selected text"), f.dictate(s("make it short")); }, Phase::Kind::Polishing},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(Phases, EscapeInPhase, ::testing::ValuesIn(kEscapes),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(FlowTest, EscapeWhileTranslatingAbortsTheTranslationAndInsertsNothing)
{
    m_inserter.selection = s("Guten Morgen");
    controller().translateSelection(s("en"));
    ASSERT_EQ(phase(), Phase::translating(s("en")));
    escape();
    m_speech.answer(Request::Kind::Polish, s("Good morning"));
    flushDeletes();
    EXPECT_TRUE(m_inserter.writes().isEmpty());
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
        emit m_hotkey->toggled();
    else
        hold();
    EXPECT_EQ(m_recorder.starts, 0);
    release();
    m_microphone.answer(c.granted);
    EXPECT_EQ(m_recorder.recording, c.recordsAfterwards);
    EXPECT_EQ(phase() == Phase::listening(), c.recordsAfterwards);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Starts, MicrophoneRequest, ::testing::Values(
    MicrophoneCase{.name = "HoldGranted",      .handsFree = false, .granted = true,  .recordsAfterwards = false},
    MicrophoneCase{.name = "HandsFreeGranted", .handsFree = true,  .granted = true,  .recordsAfterwards = true},
    MicrophoneCase{.name = "HandsFreeDenied",  .handsFree = true,  .granted = false, .recordsAfterwards = false}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

TEST_F(FlowTest, AHotkeyPressClearsAFinishedPhaseAndThePreviewAtOnce)
{
    configure([](QuendaConfig& c) { c.showDictationPreview = true; });
    m_inserter.landing = Inserter::Landing::KeptOnClipboard;
    dictate(s("hello"));
    ASSERT_TRUE(state().dictationPreview().has_value());
    m_speech.isReady = false;
    hold();
    ASSERT_EQ(phase().kind(), Phase::Kind::Notice);
    emit m_hotkey->pressed();
    EXPECT_EQ(phase(), Phase::idle());
    EXPECT_FALSE(state().dictationPreview().has_value());
}

// A kept text's card says plainly when the text took the place of what the user had copied.
TEST_F(FlowTest, TheCardOfAKeptTextSaysWhenItTookThePlaceOfTheUsersCopy)
{
    configure([](QuendaConfig& c) { c.showDictationPreview = true; });
    const struct {
        Inserter::Landing landing;
        DictationPreviewStatus shown;
    } rows[] = {{Inserter::Landing::KeptOnClipboard, DictationPreviewStatus::Copied},
                {Inserter::Landing::ReplacedCopy, DictationPreviewStatus::ReplacedCopy}};
    for (const auto& row : rows) {
        m_inserter.landing = row.landing;
        dictate(s("hello"));
        ASSERT_TRUE(state().dictationPreview().has_value());
        EXPECT_EQ(state().dictationPreview()->status, row.shown);
    }
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
        emit m_hotkey->toggled();
        const int starts = m_recorder.starts;
        if (row.press)
            hold();
        release();
        EXPECT_EQ(phase(), Phase::listening()) << row.name;
        EXPECT_TRUE(state().handsFree()) << row.name;
        EXPECT_EQ(m_recorder.starts, starts) << row.name;
        emit m_hotkey->toggled();
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
            emit m_hotkey->toggled();
        else
            hold();
        m_clock.advance(DictationController::kSilenceAfterSoundMs + 100);
        m_silencer.log.clear();
        emit m_hotkey->shortcutTyped();
        EXPECT_EQ(m_recorder.recording, row.recordsOn) << row.name;
        EXPECT_EQ(m_silencer.log, row.recordsOn ? QList<SilencerCall>{} : QList<SilencerCall>{released})
            << row.name;
        release();
        m_clock.advance(5000);
        EXPECT_EQ(phase(), row.recordsOn ? Phase::listening() : Phase::idle()) << row.name;
        EXPECT_TRUE(m_speech.sent().isEmpty()) << row.name;
        EXPECT_TRUE(state().history().isEmpty()) << row.name;
        escape();
        m_clock.advance(5000);
    }
}

// A paste while our own window has the keyboard would land in it: the text goes back to the field
// the dictation started in, in the application that was in front then, fitted to its place there.
TEST_F(FlowTest, WhileOurOwnWindowHasTheKeyboardTheTextGoesToTheRememberedField)
{
    struct Row {
        const char* name;
        int pidAtTheEnd;
        InserterCall write;
    };
    const int own = int(QCoreApplication::applicationPid());
    // clang-format off
    const Row rows[] = {{.name = "still in the editor", .pidAtTheEnd = 4242, .write = Write::insert(" hello.")},
                        {.name = "our window in front", .pidAtTheEnd = own,  .write = Write::insertAtCursor(" hello.", "org.gnome.TextEditor")}};
    // clang-format on
    m_inserter.caret = {CaretContext::Sentence::Continues, true};
    for (const Row& row : rows) {
        m_inserter.log.clear();
        AppWindow editor;
        editor.window = 9, editor.pid = 4242, editor.app = {s("org.gnome.TextEditor"), s("Text Editor")};
        m_frontApps.setActive(editor);
        hold();
        AppWindow atTheEnd;
        atTheEnd.window = 11, atTheEnd.pid = row.pidAtTheEnd;
        m_frontApps.setActive(atTheEnd);
        release();
        m_speech.answer(Request::Kind::Transcribe, s("Hello."));
        EXPECT_EQ(m_inserter.writes(), QList<InserterCall>{row.write}) << row.name;
        m_clock.advance(5000);
    }
}

TEST_F(FlowTest, TheLengthLimitEndsTheRecording)
{
    emit m_hotkey->toggled();
    emit m_recorder.limitReached();
    EXPECT_EQ(phase(), Phase::transcribing());
}

// A late result of an older run reaching the next recording would take its phase: the release
// would not end it, and it would run to the length limit with other audio muted.
struct LateCase {
    const char* name;
    Reach start;  // leaves a result of the older run due
    Reach finish; // delivers it once the next hold started
};

class LateResult : public ControllerFixture, public ::testing::WithParamInterface<LateCase> {};

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

void saveToNotesFolder(F& f)
{
    f.configure([](QuendaConfig& c) { c.noteDestination = {AppleNotesFolder{s("iCloud"), s("Work")}}; });
    f.m_inserter.selection = s("Milk, eggs");
    f.dictate(s("Save this to my notes"));
}

void chooseWithHeldWrite(F& f)
{
    f.m_inserter.holdWrites = true;
    f.controller().applyOverlayChoice({OverlayResultChoice::Kind::Command, s("Command"), s("short")});
}

// clang-format off
const LateCase kLateResults[] = {
    {"NoteSave",      saveToNotesFolder,   [](F& f) { f.m_runner.finishNext(FakeScriptRunner::exited(1, {}, "no Notes")); }},
    {"OverlayChoice", chooseWithHeldWrite, [](F& f) { f.m_inserter.heldWrite(); }},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(Results, LateResult, ::testing::ValuesIn(kLateResults),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
