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

    // A field in front with `text` before its caret.
    AccessibleElement focusField(const char* text)
    {
        const QString before = s(text);
        return m_desk.focus(FakeAccessibility::field(before, {int(before.size()), 0}));
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
    const AccessibleElement field = focusField("Buy milk.");
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
        const AccessibleElement field = focusField("");
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
