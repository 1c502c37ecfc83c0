#include "controller_fakes.h"
#include "core/state/state_fixture.h"
#include "dictation/controller/dictation_controller.h"
#include "dictation/controller/engine_speech_service.h"
#include "dictation/controller/hotkey_events.h"
#include "fake_engine_server.h"
#include "fake_provider_keys.h"
#include "speech/speech_engine.h"
#include "test_text.h"

#include <QTest>

namespace {

class EngineDictation : public StateFixture {
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
        m_server.script("/health", {200, R"({"ready":true})"});
        m_engine = std::make_unique<SpeechEngine>(
            m_clock, [this] { return state().config(); }, m_keys, EngineLocations{});
        m_service = std::make_unique<EngineSpeechService>(*m_engine);
        m_controller = std::make_unique<DictationController>(
            DictationController::Services{state(), m_clock, *m_service, m_recorder, m_inserter, m_silencer,
                                          m_learner, m_sounds, m_microphone, m_frontApps, m_hotkey});
        m_engine->poll();
        ASSERT_TRUE(QTest::qWaitFor([this] { return m_engine->ready(); }, 5000));
    }
    void TearDown() override
    {
        m_controller.reset();
        m_service.reset();
        m_engine.reset();
        StateFixture::TearDown();
    }

    FakeEngineServer m_server;
    FakeProviderKeys m_keys;
    FakeRecorder m_recorder;
    FakeInserter m_inserter;
    FakeSilencer m_silencer;
    FakeLearner m_learner;
    FakeSoundPlayer m_sounds;
    FakeMicrophone m_microphone;
    FakeWindowSystem m_frontApps;
    HotkeyEvents m_hotkey;
    std::unique_ptr<SpeechEngine> m_engine;
    std::unique_ptr<EngineSpeechService> m_service;
    std::unique_ptr<DictationController> m_controller;
};

TEST_F(EngineDictation, AHoldIsTranscribedByTheEnginePastedAndKept)
{
    m_server.script("/transcribe", {200, R"({"text":"  Hallo Welt \n"})"});
    m_recorder.wav = QByteArray("RIFF") + QByteArray(32'000, '\1');
    emit m_hotkey.holdStarted();
    m_clock.advance(2000);
    emit m_hotkey.holdEnded();
    ASSERT_EQ(state().phase(), Phase::transcribing());

    ASSERT_TRUE(QTest::qWaitFor([this] { return !m_inserter.writes().isEmpty(); }, 5000));
    const auto transcribe =
        std::find_if(m_server.requests().begin(), m_server.requests().end(),
                     [](const RecordedRequest& r) { return r.target.startsWith("/transcribe"); });
    ASSERT_NE(transcribe, m_server.requests().end());
    EXPECT_EQ(transcribe->body, *m_recorder.wav);
    EXPECT_EQ(m_inserter.writes(), QStringList{s("insert:Hallo Welt")});
    ASSERT_EQ(state().history().size(), 1);
    EXPECT_EQ(state().history().front().text, s("Hallo Welt"));
    EXPECT_EQ(state().history().front().duration, 2.0);
    EXPECT_EQ(state().phase(), Phase::done(s("Hallo Welt"), true));
}

} // namespace
