#pragma once

#include "controller_fakes.h"
#include "dictation/controller/dictation_controller.h"
#include "dictation/hotkey/hotkey_monitor.h"
#include "platform/fake/fake_key_source.h"

#include <optional>

// The controller's services besides the state, the clock and speech, all fakes. Fixtures derive
// from it so that their tests, and the rows of their tables, reach each fake as a member.
class ControllerFakeSet {
public:
    DictationController::Services controllerServices(AppState& state, Clock& clock, SpeechService& speech)
    {
        m_hotkey.emplace(m_hotkeyKeys, clock);
        return {state,     clock,    speech,       m_recorder,  m_inserter, m_silencer,
                m_learner, m_sounds, m_microphone, m_frontApps, *m_hotkey};
    }

    FakeRecorder m_recorder;
    FakeInserter m_inserter;
    FakeSilencer m_silencer;
    FakeLearner m_learner;
    FakeSoundPlayer m_sounds;
    FakeMicrophone m_microphone;
    FakeWindowSystem m_frontApps;
    FakeKeySource m_hotkeyKeys;
    // Tests emit its gestures directly.
    std::optional<HotkeyMonitor> m_hotkey;
};
