#include "controller_fixture.h"

#include "core/text/l10n.h"
#include "test_text.h"

#include <QDir>

namespace {

QString textOf(const char* key)
{
    return L10n::s(QString::fromLatin1(key));
}

EngineResult<QString> reply(std::optional<const char*> text, const char* error)
{
    if (text)
        return QString::fromUtf8(*text);
    return EngineError{EngineError::Kind::Engine, QString::fromUtf8(error)};
}

struct CommandCase {
    const char* name;
    std::optional<const char*> command;       // none: fails with "A down"
    std::optional<const char*> reformulation; // none: fails with "B down"
    std::optional<QStringList> choices;       // the texts offered, none when it failed
    std::optional<const char*> failure = {};
};

class CommandRoad : public ControllerFixture, public ::testing::WithParamInterface<CommandCase> {};

// One answer must be enough to offer choices; with none the user must learn why.
TEST_P(CommandRoad, OffersBothAnswersOrFailsWithTheFirstReason)
{
    const CommandCase& c = GetParam();
    m_inserter.selection = s("  the selected text ");
    dictate(s("make it shorter"));
    ASSERT_EQ(phase(), Phase::polishing(s("make it shorter")));
    EXPECT_TRUE(state().rewriting());
    EXPECT_EQ(m_speech.sent(),
              (QList{Request::transcribe(), Request::polish("make it shorter", "  the selected text "),
                     Request::polish("make it shorter")}));
    // The reformulation comes back first; the order must not matter.
    m_speech.answer(Request::polish("make it shorter"), reply(c.reformulation, "B down"));
    m_speech.answer(Request::Kind::Polish, reply(c.command, "A down"));

    EXPECT_FALSE(state().rewriting());
    EXPECT_TRUE(m_inserter.writes().isEmpty());
    if (c.choices) {
        ASSERT_TRUE(state().overlayResult().has_value());
        const OverlayResult& result = *state().overlayResult();
        EXPECT_EQ(result.command, s("make it shorter"));
        EXPECT_EQ(result.text, c.choices->at(0));
        QStringList offered;
        for (const OverlayResultChoice& choice : result.choices.value_or(QList<OverlayResultChoice>{}))
            offered.append(choice.text);
        EXPECT_EQ(offered, *c.choices);
        EXPECT_EQ(phase(), Phase::idle());
        EXPECT_TRUE(state().widgetHovered());
        EXPECT_EQ(m_overlay.reshapes, 1);
    } else {
        EXPECT_FALSE(state().overlayResult().has_value());
        EXPECT_EQ(phase(),
                  Phase::failed(*c.failure ? QString::fromUtf8(*c.failure) : textOf("notice.commandFailed")));
    }
    EXPECT_TRUE(state().history().isEmpty());
}

// clang-format off
const CommandCase kCommands[] = {
    {.name = "BothAnswer",                         .command = "short",      .reformulation = "Make it shorter.", .choices = QStringList{s("short"), s("Make it shorter.")}},
    {.name = "EmptyCommandTakesTheRawText",        .command = " ",          .reformulation = "Make it shorter.", .choices = QStringList{s("make it shorter"), s("Make it shorter.")}},
    {.name = "FailedReformulationTakesTheRawText", .command = "short",      .reformulation = std::nullopt,       .choices = QStringList{s("short"), s("make it shorter")}},
    {.name = "BothFailWithTheCommandsReason",      .command = std::nullopt, .reformulation = std::nullopt,       .choices = std::nullopt, .failure = "A down"},
    {.name = "OnlyTheSecondFailsWithItsReason",    .command = "",           .reformulation = std::nullopt,       .choices = std::nullopt, .failure = "B down"},
    {.name = "BothEmpty",                          .command = "",           .reformulation = "",                 .choices = std::nullopt, .failure = std::optional<const char*>(nullptr)},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(Answers, CommandRoad, ::testing::ValuesIn(kCommands),
                         [](const auto& info) { return std::string(info.param.name); });

struct ChoiceCase {
    const char* name;
    OverlayResultChoice::Kind kind;
    bool accessibilityRefuses;
    Inserter::Landing landing;
    QList<InserterCall> writes;
    Phase shown;
    bool command;
};

class ChoiceApplied : public ControllerFixture, public ::testing::WithParamInterface<ChoiceCase> {};

// The history must name the spoken command, not the chosen text, and the panel must not keep
// the focus the text is meant for.
TEST_P(ChoiceApplied, WritesTheChoiceBackAndRecordsTheSpokenCommand)
{
    const ChoiceCase& c = GetParam();
    AppWindow editor;
    editor.window = 7;
    editor.app = FrontApp{s("org.gnome.TextEditor"), s("Text Editor")};
    m_frontApps.setActive(editor);
    m_inserter.selection = s("the selected text");
    dictate(s("make it shorter"));
    m_speech.answer(Request::Kind::Polish, s("short"));
    m_speech.answer(Request::Kind::Polish, s("Shorter."));
    m_overlay.focused = true;
    m_inserter.replaceRefused = c.accessibilityRefuses;
    m_inserter.landing = c.landing;

    const auto choices = *state().overlayResult()->choices;
    controller().applyOverlayChoice(c.kind == OverlayResultChoice::Kind::Command ? choices[0] : choices[1]);

    EXPECT_EQ(m_overlay.resigned, 1);
    EXPECT_FALSE(state().overlayResult().has_value());
    EXPECT_EQ(m_inserter.writes(), c.writes);
    EXPECT_EQ(phase(), c.shown);
    ASSERT_EQ(state().history().size(), 1);
    const HistoryEntry& entry = state().history().front();
    EXPECT_EQ(entry.raw, s("make it shorter"));
    EXPECT_EQ(entry.duration, 1.5);
    EXPECT_EQ(entry.app, s("Text Editor"));
    EXPECT_EQ(entry.wasCommand, c.command);
}

constexpr auto command = OverlayResultChoice::Kind::Command;
constexpr auto pasted = Inserter::Landing::Pasted;

// clang-format off
INSTANTIATE_TEST_SUITE_P(Roads, ChoiceApplied, ::testing::Values(
    ChoiceCase{.name = "ByAccessibility",        .kind = command,                                .accessibilityRefuses = false, .landing = pasted,                             .writes = {Write::replaceSelection("short")},                                                           .shown = Phase::done(s("short"), true),     .command = true},
    ChoiceCase{.name = "ByPasteAfterActivation", .kind = OverlayResultChoice::Kind::Reformulate, .accessibilityRefuses = true,  .landing = pasted,                             .writes = {Write::replaceSelection("Shorter."), Write::insertAtCursor("Shorter.", "org.gnome.TextEditor")}, .shown = Phase::done(s("Shorter."), true), .command = false},
    ChoiceCase{.name = "OnlyOnTheClipboard",     .kind = command,                                .accessibilityRefuses = true,  .landing = Inserter::Landing::KeptOnClipboard, .writes = {Write::replaceSelection("short"), Write::insertAtCursor("short", "org.gnome.TextEditor")},       .shown = Phase::done(s("short"), false),    .command = true}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

using SelectionTest = ControllerFixture;

TEST_F(SelectionTest, AChoiceWithoutItsCommandRecordsTheChoiceItself)
{
    controller().applyOverlayChoice({OverlayResultChoice::Kind::Reformulate, s("Reformulated"), s("text")});
    ASSERT_EQ(state().history().size(), 1);
    EXPECT_EQ(state().history().front().raw, s("text"));
    EXPECT_EQ(state().history().front().duration, 0.0);
    EXPECT_EQ(state().history().front().app, std::nullopt);
}

struct BusyCase {
    const char* name;
    std::function<void(ControllerFixture&)> reach;
};

class TranslationWhileBusy : public ControllerFixture, public ::testing::WithParamInterface<BusyCase> {};

// A translation started over a dictation would paste into the middle of it.
TEST_P(TranslationWhileBusy, IsRefusedWithoutReadingTheSelection)
{
    GetParam().reach(*this);
    const Phase before = phase();
    const QList<SpeechRequest> sent = m_speech.sent();
    m_inserter.log.clear();
    controller().translateSelection(s("en"));
    EXPECT_EQ(phase(), before);
    EXPECT_EQ(m_speech.sent(), sent);
    EXPECT_TRUE(m_inserter.log.isEmpty());
}

using F = ControllerFixture;

// clang-format off
INSTANTIATE_TEST_SUITE_P(Phases, TranslationWhileBusy, ::testing::Values(
    BusyCase{"Listening",    [](F& f) { f.hold(); }},
    BusyCase{"Transcribing", [](F& f) { f.record(); }},
    BusyCase{"Polishing",    [](F& f) { f.configure([](QuendaConfig& c) { c.autoCorrect = true; }), f.dictate(s("words")); }},
    BusyCase{"Translating",  [](F& f) { f.m_inserter.holdSelection = true, f.controller().translateSelection(s("fr")); }}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

struct TranslateCase {
    const char* name;
    bool focusEditable;
    QList<InserterCall> writes;
    bool inOverlay;
};

class Translation : public ControllerFixture, public ::testing::WithParamInterface<TranslateCase> {};

TEST_P(Translation, GoesIntoAnEditableFieldElseIntoTheOverlayAndAlwaysIntoTheHistory)
{
    const TranslateCase& c = GetParam();
    m_inserter.selection = s("Guten Morgen");
    m_inserter.focusEditable = c.focusEditable;
    controller().translateSelection(s("xx"));
    // An unknown code shows German but is sent as given.
    EXPECT_EQ(phase(), Phase::translating(s("de")));
    m_speech.answer(Request::polish("Guten Morgen", "Guten Morgen", "xx"), s("Good morning"));
    EXPECT_EQ(m_inserter.writes(), c.writes);
    EXPECT_EQ(state().overlayResult().has_value(), c.inOverlay);
    EXPECT_EQ(historyTexts(), QStringList{s("Good morning")});
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Targets, Translation, ::testing::Values(
    TranslateCase{.name = "Editable",    .focusEditable = true,  .writes = {Write::insert("Good morning")}, .inOverlay = false},
    TranslateCase{.name = "NotEditable", .focusEditable = false, .writes = {},                              .inOverlay = true}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

struct NoteCase {
    const char* name;
    const char* spoken;
    bool canPolish;
    std::optional<const char*> answer; // for a request about the selection
    QList<SpeechRequest> sent;
    std::optional<const char*> saved; // the note's text
    Phase shown;
};

class NoteSave : public ControllerFixture, public ::testing::WithParamInterface<NoteCase> {};

// A save command must save exactly what the user meant, and say so when it cannot.
TEST_P(NoteSave, SavesTheSelectionOrTheAnswerAsTheClassifierSays)
{
    const NoteCase& c = GetParam();
    configure([](QuendaConfig& config) { config.noteDestination = NoteDestination::own(); });
    m_speech.canPolish = c.canPolish;
    m_inserter.selection = s("  Milk, eggs \n");
    dictate(QString::fromUtf8(c.spoken));
    if (c.answer)
        m_speech.answer(Request::Kind::Polish, s(*c.answer));
    EXPECT_EQ(m_speech.sent(), c.sent);
    EXPECT_EQ(phase(), c.shown);
    EXPECT_TRUE(m_inserter.writes().isEmpty());
    if (c.saved) {
        ASSERT_FALSE(state().notes().isEmpty());
        EXPECT_TRUE(state().notes().front().body.contains(QString::fromUtf8(*c.saved)));
        EXPECT_EQ(historyTexts(), QStringList{QString::fromUtf8(*c.saved)});
        EXPECT_EQ(state().history().front().wasCommand, true);
    } else {
        EXPECT_TRUE(state().notes().isEmpty());
        EXPECT_TRUE(state().history().isEmpty());
    }
}

const Request summary = Request::polish("Summarize this into my notes", "Milk, eggs", nullptr, true);

// clang-format off
INSTANTIATE_TEST_SUITE_P(Commands, NoteSave, ::testing::Values(
    NoteCase{.name = "SelectionVerbatim",       .spoken = "Save this to my notes",        .canPolish = false, .answer = std::nullopt,              .sent = {Request::transcribe()},          .saved = "Milk, eggs",            .shown = Phase::idle()},
    NoteCase{.name = "Answer",                  .spoken = "Summarize this into my notes", .canPolish = true,  .answer = " Groceries: milk, eggs ", .sent = {Request::transcribe(), summary}, .saved = "Groceries: milk, eggs", .shown = Phase::idle()},
    NoteCase{.name = "EmptyAnswerSavesNothing", .spoken = "Summarize this into my notes", .canPolish = true,  .answer = "  ",                     .sent = {Request::transcribe(), summary}, .saved = std::nullopt,            .shown = Phase::failed(textOf("notice.commandFailed"))},
    NoteCase{.name = "AnswerWithoutProvider",   .spoken = "Summarize this into my notes", .canPolish = false, .answer = std::nullopt,              .sent = {Request::transcribe()},          .saved = std::nullopt,            .shown = Phase::notice(textOf("notice.commandNeedsKey"))}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

// A note kept only in memory is lost at quit; the user must not be told it was saved.
TEST_F(SelectionTest, ASaveCommandWhoseNoteCannotBeWrittenSaysSo)
{
    configure([](QuendaConfig& config) { config.noteDestination = NoteDestination::own(); });
    ASSERT_TRUE(QDir().mkpath(supportFile(s("notes.json"))));
    m_inserter.selection = s("Milk, eggs");
    dictate(s("Save this to my notes"));
    EXPECT_EQ(phase(), Phase::failed(textOf("notice.noteUnsaved")));
}

// Without a provider that answers, a translation says what is missing: a key for a hosted provider,
// a model for a server of the user's own or the local model.
TEST_F(SelectionTest, ATranslationWithoutAnAnsweringProviderSaysWhatIsMissing)
{
    struct Row {
        const char* name;
        const char* kind;
        PolishProvider provider;
        const char* notice;
    };
    // clang-format off
    const Row rows[] = {
        {.name = "hosted",     .kind = "chatgpt", .provider = PolishProvider::OpenAI, .notice = "notice.translateNeedsKey"},
        {.name = "own server", .kind = "custom",  .provider = PolishProvider::OpenAI, .notice = "notice.translateNeedsModel"},
        {.name = "local",      .kind = "chatgpt", .provider = PolishProvider::Local,  .notice = "notice.translateNeedsModel"},
    };
    // clang-format on
    m_speech.canPolish = false;
    for (const Row& row : rows) {
        configure([&row](QuendaConfig& c) {
            c.polishProvider = row.provider;
            c.correctionEndpoints = {
                {QUuid::createUuid(), s(row.kind), s("auto"), s("http://127.0.0.1:11434/v1"), true}};
        });
        controller().translateSelection(s("en"));
        EXPECT_EQ(phase(), Phase::notice(textOf(row.notice))) << row.name;
        escape();
    }
}

} // namespace
