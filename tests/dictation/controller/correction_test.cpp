#include "controller_fixture.h"

#include "core/text/l10n.h"
#include "dictation/controller/reset_delay.h"
#include "test_text.h"

namespace {

struct CorrectionCase {
    const char* name;
    std::optional<const char*> polished; // none: the request fails with "quota"
    Inserter::Landing landing;
    bool replaceRefused;
    bool learnEdits;
    QList<InserterCall> writes;
    const char* history;
    bool pasted;         // the result is shown done and pasted, else done but not pasted
    const char* watched; // the text watched for the user's edits; nullptr for none
    bool quotaNotice = false;
};

using FitToCaret = ControllerFixture;

class Correction : public ControllerFixture, public ::testing::WithParamInterface<CorrectionCase> {};

// The raw text goes in at once; the polished one must replace it only when it differs and the
// raw paste happened, and never be lost or shown as pasted when it was not.
TEST_P(Correction, RawFirstThenThePolishedTextOrWhatTheFieldReallyHolds)
{
    const CorrectionCase& c = GetParam();
    configure([&](QuendaConfig& config) {
        config.autoCorrect = true, config.polishProvider = PolishProvider::OpenAI,
        config.learnEdits = c.learnEdits;
    });
    m_inserter.landing = c.landing;
    m_inserter.replaceRefused = c.replaceRefused;
    dictate(s("teh raw text"));
    ASSERT_EQ(phase(), Phase::polishing(s("teh raw text")));
    if (c.polished)
        m_speech.answer(Request::Kind::Polish, s(*c.polished));
    else
        m_speech.answer(Request::Kind::Polish, EngineError{EngineError::Kind::Engine, s("quota")});

    EXPECT_EQ(m_inserter.writes(), c.writes);
    EXPECT_EQ(historyTexts(), QStringList{s(c.history)});
    EXPECT_EQ(m_learner.watched, c.watched ? QStringList{s(c.watched)} : QStringList{});
    if (c.quotaNotice) {
        EXPECT_EQ(phase(), Phase::notice(s("quota")));
        m_clock.advance(ResetDelay::polishNoticeMs);
        EXPECT_EQ(phase(), Phase::idle());
    } else {
        EXPECT_EQ(phase(), Phase::done(s(c.history), c.pasted));
    }
}

constexpr auto pasted = Inserter::Landing::Pasted;
constexpr auto clipboard = Inserter::Landing::KeptOnClipboard;
const Write raw = Write::insert("teh raw text");
const Write replaced = Write::replace("teh raw text", "the raw text");

// clang-format off
const CorrectionCase kCorrections[] = {
    {.name = "PolishedReplacesRaw",                      .polished = " the raw text \n", .landing = pasted,    .replaceRefused = false, .learnEdits = true,  .writes = {raw, replaced},                               .history = "the raw text", .pasted = true,  .watched = "the raw text"},
    {.name = "PolishedEqualToRawIsNotPastedAgain",       .polished = "teh raw text",     .landing = pasted,    .replaceRefused = false, .learnEdits = true,  .writes = {raw},                                         .history = "teh raw text", .pasted = true,  .watched = "teh raw text"},
    {.name = "EmptyReplyCountsAsRaw",                    .polished = "  ",               .landing = pasted,    .replaceRefused = false, .learnEdits = true,  .writes = {raw},                                         .history = "teh raw text", .pasted = true,  .watched = "teh raw text"},
    {.name = "EqualButRawOnlyOnTheClipboard",            .polished = "teh raw text",     .landing = clipboard, .replaceRefused = false, .learnEdits = true,  .writes = {raw, Write::copy("teh raw text")},            .history = "teh raw text", .pasted = false, .watched = nullptr},
    {.name = "RawOnlyOnTheClipboardGetsThePolishedText", .polished = "the raw text",     .landing = clipboard, .replaceRefused = false, .learnEdits = true,  .writes = {raw, Write::copy("the raw text")},            .history = "the raw text", .pasted = false, .watched = nullptr},
    {.name = "RefusedReplacementIsCopiedNotShownAsPasted", .polished = "the raw text",   .landing = pasted,    .replaceRefused = true,  .learnEdits = true,  .writes = {raw, replaced, Write::copy("the raw text")},  .history = "the raw text", .pasted = false, .watched = "teh raw text"},
    {.name = "PolishFailureKeepsRawAndSaysWhy",          .polished = std::nullopt,       .landing = pasted,    .replaceRefused = false, .learnEdits = true,  .writes = {raw},                                         .history = "teh raw text", .pasted = true,  .watched = "teh raw text", .quotaNotice = true},
    {.name = "LearningOffWatchesNothing",                .polished = "the raw text",     .landing = pasted,    .replaceRefused = false, .learnEdits = false, .writes = {raw, replaced},                               .history = "the raw text", .pasted = true,  .watched = nullptr},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(Replies, Correction, ::testing::ValuesIn(kCorrections),
                         [](const auto& info) { return std::string(info.param.name); });

using CorrectionOrder = ControllerFixture;

struct ProviderCase {
    const char* provider;
    QList<SpeechRequest> sentAtPaste; // requests out when the raw text is pasted
    int delayMs;                      // until the polish request goes out after the paste
};

class PolishTiming : public ControllerFixture, public ::testing::WithParamInterface<ProviderCase> {};

// A remote provider's request must not wait for the paste; the local one must not compete with it.
TEST_P(PolishTiming, RemoteBeforeThePasteLocalFortyMillisecondsAfter)
{
    const ProviderCase& c = GetParam();
    configure([&](QuendaConfig& config) {
        config.autoCorrect = true, config.polishProvider = PolishProviderText::table.decode(s(c.provider));
    });
    dictate(s("words"));
    EXPECT_EQ(m_speech.sent(), c.sentAtPaste);
    m_clock.advance(c.delayMs);
    EXPECT_EQ(m_speech.sent().size(), 2);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Providers, PolishTiming, ::testing::Values(
    ProviderCase{.provider = "openai", .sentAtPaste = {Request::transcribe(), Request::polish("words")}, .delayMs = 0},
    ProviderCase{.provider = "local",  .sentAtPaste = {Request::transcribe()},                          .delayMs = 40}),
    [](const auto& info) { return std::string(info.param.provider); });
// clang-format on

TEST_F(CorrectionOrder, WithoutAPolishingEngineTheTextIsDeliveredPlain)
{
    configure([](QuendaConfig& config) { config.autoCorrect = true; });
    m_speech.canPolish = false;
    dictate(s("words"));
    EXPECT_EQ(phase(), Phase::done(s("words"), true));
    EXPECT_EQ(m_speech.sent(), QList{Request::transcribe()});
}

struct SilenceCase {
    const char* name;
    bool playSounds;
    const char* othersAudio;
    int stopAfterMs; // how long the recording lasts
    QList<SilencerCall> silencer;
    std::vector<Sound> sounds;
};

class Silencing : public ControllerFixture, public ::testing::WithParamInterface<SilenceCase> {};

// Silencing that starts over the start cue mutes it; one that outlives the recording keeps the
// user's music off.
TEST_P(Silencing, StartsAfterTheCueOrAtOnceAndIsAlwaysReleased)
{
    const SilenceCase& c = GetParam();
    configure([&](QuendaConfig& config) {
        config.playSounds = c.playSounds,
        config.othersAudio = OthersAudioText::table.decode(s(c.othersAudio));
    });
    hold();
    m_clock.advance(c.stopAfterMs);
    release();
    m_clock.advance(1000);
    EXPECT_EQ(m_silencer.log, c.silencer);
    EXPECT_EQ(m_sounds.played, c.sounds);
}

const std::vector<Sound> cues{Sound::Start, Sound::Stop};

// clang-format off
INSTANTIATE_TEST_SUITE_P(Modes, Silencing, ::testing::Values(
    SilenceCase{.name = "AfterTheStartCue",      .playSounds = true,  .othersAudio = "quiet", .stopAfterMs = 180, .silencer = {OthersAudio::Quiet, released}, .sounds = cues},
    SilenceCase{.name = "ShortTapNeverSilences", .playSounds = true,  .othersAudio = "mute",  .stopAfterMs = 179, .silencer = {released},                     .sounds = cues},
    SilenceCase{.name = "NoSoundsSilenceAtOnce", .playSounds = false, .othersAudio = "mute",  .stopAfterMs = 0,   .silencer = {OthersAudio::Mute, released},  .sounds = {}},
    SilenceCase{.name = "UnknownModeMutes",      .playSounds = false, .othersAudio = "loud",  .stopAfterMs = 10,  .silencer = {OthersAudio::Mute, released},  .sounds = {}},
    SilenceCase{.name = "OffOnlyReleases",       .playSounds = true,  .othersAudio = "off",   .stopAfterMs = 500, .silencer = {released, released},           .sounds = cues}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

TEST_F(CorrectionOrder, EscapeWhileListeningReleasesSilencingBeforeItBegins)
{
    hold();
    escape();
    m_clock.advance(1000);
    EXPECT_EQ(m_silencer.log, QList{released});
}

// An announcement over a translation would take its phase, and its result would show nowhere.
TEST_F(CorrectionOrder, LearnedEntriesGoIntoTheDictionaryAndAreAnnouncedOnlyWhenNothingRuns)
{
    struct Row {
        const char* name;
        bool translating;
        Phase::Kind shown;
    };
    const Row rows[] = {
        {.name = "after a dictation", .translating = false, .shown = Phase::Kind::Notice},
        {.name = "during a translation", .translating = true, .shown = Phase::Kind::Translating}};
    for (const Row& row : rows) {
        configure([](QuendaConfig& c) { c.dictionary.clear(); });
        dictate(s("hello Quenda"));
        m_clock.advance(1000);
        if (row.translating) {
            m_inserter.holdSelection = true;
            controller().translateSelection(s("en"));
        }
        m_learner.learn({DictionaryItem{QUuid::createUuid(), s("Quenda"), s("Kwenda")}});
        EXPECT_TRUE(state().config().dictionary.contains(s("Kwenda -> Quenda"))) << row.name;
        EXPECT_FALSE(state().settingToastVisible()) << row.name; // its own notice, not the settings'
        EXPECT_EQ(phase().kind(), row.shown) << row.name;
        escape();
        m_clock.advance(3000);
    }
}

// Inside a sentence the dictation goes in with a space and a small first letter, and the polished
// text replaces exactly what went in; the history keeps the text as written and the words heard.
TEST_F(FitToCaret, TheTextGoesInAsThePlaceBeforeTheCaretAsks)
{
    struct Row {
        const char* name;
        std::optional<const char*> polished = {}; // none: no correction
        QList<InserterCall> writes;
        const char* history;
        const char* watched;
    };
    // clang-format off
    const Row rows[] = {
        {.name = "plain", .writes = {Write::insert(" the report is done.")},
         .history = "The report is done.", .watched = "the report is done."},
        {.name = "polished", .polished = "The report is finished.",
         .writes = {Write::insert(" the report is done."), Write::replace("the report is done.", "the report is finished.")},
         .history = "The report is finished.", .watched = "the report is finished."},
    };
    // clang-format on
    m_inserter.caret = {CaretContext::Sentence::Continues, true};
    m_speech.heard = s("the report is done");
    for (const Row& row : rows) {
        configure([&](QuendaConfig& c) {
            c.autoCorrect = row.polished.has_value(), c.polishProvider = PolishProvider::OpenAI;
        });
        m_inserter.log.clear();
        m_learner.watched.clear();
        dictate(s("The report is done."));
        if (row.polished)
            m_speech.answer(Request::Kind::Polish, s(*row.polished));
        EXPECT_EQ(m_inserter.writes(), row.writes) << row.name;
        EXPECT_EQ(historyTexts().first(), s(row.history)) << row.name;
        EXPECT_EQ(state().history().first().raw, s("the report is done")) << row.name;
        EXPECT_EQ(m_learner.watched, QStringList{s(row.watched)}) << row.name;
        m_clock.advance(5000);
    }
}

using SpeechRoute = ControllerFixture;

// A dictation the built-in recogniser wrote because the speech server failed must say why and who
// wrote it, after the text went in, and its history entry keeps why; a server that answers for the first time
// since it was set says so once.
TEST_F(SpeechRoute, TheNoticeAfterTheTextSaysWhoWroteItWhenThatIsNews)
{
    struct Row {
        const char* name;
        bool byServer;
        std::optional<const char*> serverFailure;
        bool polishFails;
        QString notice; // empty: the delivery is the last phase shown
        int resetAfterMs;
    };
    const QString works = L10n::format(s("notice.speechServerWorks"), {s("Whisper at 10.0.0.5, whisper-1")});
    const QString fallback = L10n::format(s("notice.speechFallback"), {s("refused the key (401)")});
    // clang-format off
    const Row rows[] = {
        {.name = "first answer of the server",   .byServer = true,  .serverFailure = {},                      .polishFails = false, .notice = works,                           .resetAfterMs = ResetDelay::speechServerWorksMs},
        {.name = "second answer",                .byServer = true,  .serverFailure = {},                      .polishFails = false, .notice = {},                              .resetAfterMs = 0},
        {.name = "server failed, built-in wrote", .byServer = false, .serverFailure = "refused the key (401)", .polishFails = false, .notice = fallback,                        .resetAfterMs = ResetDelay::speechFallbackMs},
        {.name = "and the correction failed",    .byServer = false, .serverFailure = "refused the key (401)", .polishFails = true,  .notice = fallback + u'\n' + s("quota"), .resetAfterMs = ResetDelay::speechFallbackMs},
        {.name = "answering again after that",   .byServer = true,  .serverFailure = {},                      .polishFails = false, .notice = {},                              .resetAfterMs = 0},
    };
    // clang-format on
    configure([](QuendaConfig& c) {
        c.autoCorrect = true, c.polishProvider = PolishProvider::OpenAI;
        c.speechBaseURL = s("http://10.0.0.5:8080/v1");
    });
    for (const Row& row : rows) {
        m_speech.byServer = row.byServer;
        m_speech.serverFailure = row.serverFailure ? std::optional(s(*row.serverFailure)) : std::nullopt;
        dictate(s("the words"));
        m_speech.answer(Request::Kind::Polish,
                        row.polishFails
                            ? EngineResult<QString>(EngineError{EngineError::Kind::Engine, s("quota")})
                            : EngineResult<QString>(s("The words.")));
        EXPECT_EQ(historyTexts().first(), row.polishFails ? s("the words") : s("The words.")) << row.name;
        EXPECT_EQ(state().history().first().serverFailure, m_speech.serverFailure) << row.name;
        if (row.notice.isEmpty()) {
            EXPECT_EQ(phase().kind(), Phase::Kind::Done) << row.name;
        } else {
            EXPECT_EQ(phase(), Phase::notice(row.notice)) << row.name;
            m_clock.advance(row.resetAfterMs - 1);
            EXPECT_EQ(phase(), Phase::notice(row.notice)) << row.name;
        }
        m_clock.advance(6000);
    }
}

} // namespace
