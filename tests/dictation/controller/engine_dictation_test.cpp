#include "controller_fake_set.h"
#include "core/state/state_fixture.h"
#include "fake_engine_server.h"
#include "fake_provider_keys.h"
#include "speech/speech_engine.h"
#include "test_text.h"

#include <QTest>

namespace {

class EngineDictation : public StateFixture, protected ControllerFakeSet {
protected:
    void SetUp() override
    {
        StateFixture::SetUp();
        makeState();
        QuendaConfig config = state().config();
        config.port = m_server.port();
        config.autoCorrect = false;
        config.commandMode = false;
        config.showDictationPreview = false;
        state().setConfig(config);
        m_server.script("/health", {200, R"({"ready":true,"polish":true})"});
        // Commands and translations need a correction provider, which the general key makes.
        m_keys.general = s("sk-test");
        m_engine = std::make_unique<SpeechEngine>(
            m_clock, [this] { return state().config(); }, m_keys, EngineLocations{});
        m_controller = std::make_unique<DictationController>(controllerServices(state(), m_clock, *m_engine));
        m_server.proveWith(m_engine->secret());
        m_engine->poll();
        ASSERT_TRUE(QTest::qWaitFor([this] { return m_engine->ready(); }, 5000));
    }
    void record()
    {
        m_recorder.wav = QByteArray("RIFF") + QByteArray(32'000, '\1');
        emit m_hotkey->holdStarted();
        m_clock.advance(1500);
        emit m_hotkey->holdEnded();
    }
    QList<RecordedRequest> requestsTo(const QByteArray& path) const
    {
        QList<RecordedRequest> found;
        for (const RecordedRequest& request : m_server.requests()) {
            if (request.target.startsWith(path))
                found.append(request);
        }
        return found;
    }
    void TearDown() override
    {
        m_controller.reset();
        m_engine.reset();
        StateFixture::TearDown();
    }

    FakeEngineServer m_server;
    FakeProviderKeys m_keys;
    std::unique_ptr<SpeechEngine> m_engine;
    std::unique_ptr<DictationController> m_controller;
};

TEST_F(EngineDictation, AHoldIsTranscribedByTheEnginePastedAndKept)
{
    m_server.script("/transcribe", {200, R"({"text":"  Hallo Welt \n"})"});
    m_recorder.wav = QByteArray("RIFF") + QByteArray(32'000, '\1');
    emit m_hotkey->holdStarted();
    m_clock.advance(2000);
    emit m_hotkey->holdEnded();
    ASSERT_EQ(state().phase(), Phase::transcribing());

    ASSERT_TRUE(QTest::qWaitFor([this] { return !m_inserter.writes().isEmpty(); }, 5000));
    const auto transcribe =
        std::find_if(m_server.requests().begin(), m_server.requests().end(),
                     [](const RecordedRequest& r) { return r.target.startsWith("/transcribe"); });
    ASSERT_NE(transcribe, m_server.requests().end());
    EXPECT_EQ(transcribe->body, *m_recorder.wav);
    EXPECT_EQ(m_inserter.writes(), QList{InserterCall::insert("Hallo Welt")});
    ASSERT_EQ(state().history().size(), 1);
    EXPECT_EQ(state().history().front().text, s("Hallo Welt"));
    EXPECT_EQ(state().history().front().duration, 2.0);
    EXPECT_EQ(state().phase(), Phase::done(s("Hallo Welt"), true));
}

TEST_F(EngineDictation, ASpokenCommandOnASelectionOffersTheEnginesAnswers)
{
    configure([](QuendaConfig& config) { config.commandMode = true; });
    m_inserter.selection = s("the selected text");
    m_server.script("/transcribe", {200, R"({"text":"make it shorter"})"});
    m_server.script("/polish", {200, R"({"text":"Shorter."})"});
    record();

    ASSERT_TRUE(QTest::qWaitFor([this] { return state().overlayResult().has_value(); }, 5000));
    const OverlayResult& result = *state().overlayResult();
    EXPECT_EQ(result.command, s("make it shorter"));
    ASSERT_TRUE(result.choices.has_value());
    EXPECT_EQ(result.choices->size(), 2);
    const QList<RecordedRequest> polishes = requestsTo("/polish");
    ASSERT_EQ(polishes.size(), 2);
    // One request carries the selection the command works on, the other reformulates the command.
    const int withSelection = int(polishes[0].body.contains("the selected text")) +
                              int(polishes[1].body.contains("the selected text"));
    EXPECT_EQ(withSelection, 1);
    EXPECT_TRUE(m_inserter.writes().isEmpty());
}

TEST_F(EngineDictation, ATranslationOfTheSelectionLandsInTheField)
{
    m_inserter.selection = s("Guten Morgen");
    m_server.script("/polish", {200, R"({"text":"Good morning"})"});
    m_controller->translateSelection(s("en"));

    ASSERT_TRUE(QTest::qWaitFor([this] { return !m_inserter.writes().isEmpty(); }, 5000));
    EXPECT_EQ(m_inserter.writes(), QList{InserterCall::insert("Good morning")});
    const QList<RecordedRequest> polishes = requestsTo("/polish");
    ASSERT_EQ(polishes.size(), 1);
    EXPECT_TRUE(polishes[0].body.contains(R"("targetLanguage":"en")")) << polishes[0].body.toStdString();
    ASSERT_EQ(state().history().size(), 1);
    EXPECT_EQ(state().history().front().text, s("Good morning"));
}

TEST_F(EngineDictation, ASaveCommandPutsTheSelectionIntoTheOwnNotes)
{
    configure([](QuendaConfig& config) {
        config.commandMode = true;
        config.noteDestination = NoteDestination::own();
    });
    m_inserter.selection = s("Milk, eggs");
    m_server.script("/transcribe", {200, R"({"text":"Save this to my notes"})"});
    record();

    ASSERT_TRUE(QTest::qWaitFor([this] { return !state().notes().isEmpty(); }, 5000));
    EXPECT_TRUE(state().notes().front().body.contains(s("Milk, eggs")));
    EXPECT_TRUE(requestsTo("/polish").isEmpty());
    EXPECT_TRUE(m_inserter.writes().isEmpty());
}

} // namespace
