#include "controller_fakes.h"
#include "core/state/state_fixture.h"
#include "dictation/controller/dictation_controller.h"
#include "dictation/controller/text_inserter_adapter.h"
#include "dictation/hotkey/hotkey_monitor.h"
#include "dictation/insert/fake_desktop.h"
#include "platform/fake/fake_key_source.h"

#include <QCoreApplication>

#include <memory>

namespace {

// The controller over the real inserter on a fake desktop, where applications take pastes in as
// real ones do, all on the desktop's manual clock.
class DesktopDictation : public StateFixture {
protected:
    void SetUp() override
    {
        StateFixture::SetUp();
        makeState();
        configure([](QuendaConfig& c) {
            c.autoCorrect = false, c.commandMode = false, c.playSounds = false, c.learnEdits = false;
            c.othersAudio = OthersAudio::Off, c.showDictationPreview = false;
            c.polishProvider = PolishProvider::OpenAI;
        });
        m_hotkey.emplace(m_keys, m_desk.clock);
        m_controller = std::make_unique<DictationController>(
            DictationController::Services{state(), m_desk.clock, m_speech, m_recorder, m_inserter, m_silencer,
                                          m_learner, m_sounds, m_microphone, m_desk.windows, *m_hotkey});
    }
    void TearDown() override
    {
        m_controller.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        StateFixture::TearDown();
    }

    // A field in front with `text` before its caret, of an application with that process.
    AccessibleElement focusField(const char* text, int pid)
    {
        const QString before = s(text);
        FakeAccessibility::Element field = FakeAccessibility::field(before, {int(before.size()), 0});
        field.pid = pid;
        m_desk.windows.setActive(AppWindow{.window = 5, .app = {}, .pid = pid, .windowClass = {}});
        return m_desk.focus(field);
    }
    // A hold and its release, after which the engine hears `words`.
    void dictate(const char* words)
    {
        emit m_hotkey->holdStarted();
        m_desk.pump(1500);
        emit m_hotkey->holdEnded();
        m_speech.answer(SpeechRequest::Kind::Transcribe, s(words));
    }

    FakeDesktop m_desk;
    TextInserterAdapter m_inserter{m_desk.inserter, m_desk.a11y, m_desk.permissions};
    FakeSpeechService m_speech;
    FakeRecorder m_recorder;
    FakeSilencer m_silencer;
    FakeLearner m_learner;
    FakeSoundPlayer m_sounds;
    FakeMicrophone m_microphone;
    FakeKeySource m_keys;
    std::optional<HotkeyMonitor> m_hotkey;
    std::unique_ptr<DictationController> m_controller;
};

// Each read of a field that does not answer costs the messaging time-out: the place the text goes
// and the keys the field takes come from one read.
TEST_F(DesktopDictation, APasteReadsTheFocusedFieldOnce)
{
    const AccessibleElement field = focusField("Buy milk.", 4242);
    std::optional<int> readsAtPaste;
    QObject::connect(&m_desk.keys, &FakeKeySynthesizer::chordPosted, &m_desk,
                     [&] { readsAtPaste = m_desk.a11y.runs(); });
    emit m_hotkey->holdStarted();
    m_desk.pump(1500);
    emit m_hotkey->holdEnded();
    const int readsBefore = m_desk.a11y.runs();
    m_speech.answer(SpeechRequest::Kind::Transcribe, s("and some bread."));
    m_desk.pump(5);
    ASSERT_TRUE(readsAtPaste);
    EXPECT_EQ(*readsAtPaste - readsBefore, 1);
    EXPECT_EQ(m_desk.textOf(field), s("Buy milk. And some bread."));
}

// A dictation into a field of this program, such as the note editor, gets its space and case as
// in any other application.
TEST_F(DesktopDictation, EveryFieldGetsTheSpaceAndCaseOfItsPlace)
{
    struct Row {
        const char* name;
        int windowPid;
        int fieldPid;
    };
    const int own = int(QCoreApplication::applicationPid());
    // clang-format off
    const Row rows[] = {
        {.name = "another application", .windowPid = 4242, .fieldPid = 4242},
        {.name = "our own note editor", .windowPid = own,  .fieldPid = int(FakeDesktop::ownPid)},
    };
    // clang-format on
    for (const Row& row : rows) {
        const AccessibleElement field = focusField("Buy milk.", row.fieldPid);
        m_desk.windows.setActive(AppWindow{.window = 5, .app = {}, .pid = row.windowPid, .windowClass = {}});
        dictate("and some bread.");
        m_desk.pump(TextInserter::activationDelayMs + 10);
        EXPECT_EQ(m_desk.textOf(field), s("Buy milk. And some bread.")) << row.name;
        m_desk.pump(5000);
    }
}

// A polish that is back before the application has taken the raw paste in still replaces the raw
// text once it shows, and the dictation counts as pasted.
TEST_F(DesktopDictation, APolishBackBeforeTheRawPasteShowsReplacesItOnceItDoes)
{
    struct Row {
        const char* name;
        int pasteLagMs;
    };
    const Row rows[] = {{.name = "at once", .pasteLagMs = 0},
                        {.name = "a millisecond later", .pasteLagMs = 1},
                        {.name = "after a poll", .pasteLagMs = 60},
                        {.name = "near the bound", .pasteLagMs = 900}};
    configure([](QuendaConfig& c) { c.autoCorrect = true; });
    for (const Row& row : rows) {
        m_desk.pasteLagMs = row.pasteLagMs;
        m_desk.board.writeText(s("the user's own words"));
        const AccessibleElement field = focusField("", 4242);
        dictate("helo world");
        m_speech.answer(SpeechRequest::Kind::Polish, s("Hello world."));
        m_desk.pump(3000);
        EXPECT_EQ(m_desk.textOf(field), s("Hello world.")) << row.name;
        EXPECT_EQ(state().history().first().text, s("Hello world.")) << row.name;
        EXPECT_FALSE(state().unpastedDictation()) << row.name;
        EXPECT_EQ(m_desk.board.plainText(), s("the user's own words")) << row.name;
        m_desk.pump(5000);
    }
}

} // namespace
