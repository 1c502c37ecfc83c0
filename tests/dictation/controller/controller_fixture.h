#pragma once

#include "controller_fake_set.h"
#include "controller_fakes.h"
#include "core/state/state_fixture.h"
#include "dictation/controller/dictation_controller.h"

#include <QCoreApplication>
#include <QEvent>

#include <functional>
#include <memory>

using Request = SpeechRequest;
using Write = InserterCall;
using Sound = SoundPlayer::Sound;

// A controller over the real shared state and fakes for every service, on a manual clock.
class ControllerFixture : public StateFixture, public ControllerFakeSet {
public:
    void SetUp() override
    {
        StateFixture::SetUp();
        makeState();
        configure([](QuendaConfig& c) {
            c.autoCorrect = false;
            c.commandMode = true;
            c.playSounds = true;
            c.othersAudio = OthersAudio::Mute;
            c.showDictationPreview = false;
            c.learnEdits = true;
        });
        m_controller = std::make_unique<DictationController>(controllerServices(state(), m_clock, m_speech));
        m_controller->setOverlay(&m_overlay);
    }
    void TearDown() override
    {
        m_controller.reset();
        flushDeletes();
        StateFixture::TearDown();
    }

    DictationController& controller() { return *m_controller; }
    const Phase& phase() { return state().phase(); }
    void hold() { emit m_hotkey->holdStarted(); }
    void release() { emit m_hotkey->holdEnded(); }
    void escape() { emit m_hotkey->escapePressed(); }
    // A hold and its release: the recording goes to the engine.
    void record()
    {
        hold();
        m_clock.advance(1500);
        release();
    }
    // Record, then the engine hears `transcript`.
    void dictate(const QString& transcript)
    {
        record();
        m_speech.answer(SpeechRequest::Kind::Transcribe, transcript);
    }
    // Destroys what was cancelled, as the next turn of the event loop does.
    static void flushDeletes() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }
    QStringList historyTexts()
    {
        QStringList texts;
        for (const HistoryEntry& entry : state().history())
            texts.append(entry.text);
        return texts;
    }

    FakeSpeechService m_speech;
    FakeOverlayHost m_overlay;
    std::unique_ptr<DictationController> m_controller;
};
