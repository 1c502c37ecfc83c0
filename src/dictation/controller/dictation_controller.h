#pragma once

#include "core/base/clock.h"
#include "core/model/app_style_profile.h"
#include "core/model/dictation_preview.h"
#include "core/model/dictionary_item.h"
#include "core/model/main_section.h"
#include "core/model/overlay_result.h"
#include "core/model/phase.h"
#include "core/model/speech_server.h"
#include "dictation/controller/inserter.h"
#include "speech/engine_result.h"
#include "speech/transcript.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <optional>

class AppState;
class DictationJob;
class HotkeyMonitor;
class Learner;
class MicrophoneAccess;
class OverlayHost;
class Recorder;
class PendingSelection;
class Silencer;
class SoundPlayer;
class SpeechService;
class SpeechStream;
class WindowSystem;

// Turns a hotkey hold or a hands-free toggle into a recording, the recording into text and the
// text into an insertion, a note or a choice in the overlay, showing progress through the phase.
// Lives on the main thread; one run at a time, a newer recording or Escape cancels the older run.
class DictationController final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(DictationController)

public:
    // Everything outlives the controller.
    struct Services {
        AppState& state;
        Clock& clock;
        SpeechService& speech;
        Recorder& recorder;
        Inserter& inserter;
        Silencer& silencer;
        Learner& learner;
        SoundPlayer& sounds;
        MicrophoneAccess& microphone;
        WindowSystem& windows;
        HotkeyMonitor& hotkey;
    };

    static constexpr int kTickMs = 100;
    // Lets the start sound finish before other output goes quiet.
    static constexpr int kSilenceAfterSoundMs = 180;
    static constexpr int kLocalPolishDelayMs = 40;
    // The recorder keeps no recording shorter than this.
    static constexpr double kShortestRecordingS = 0.25;

    explicit DictationController(const Services& services, QObject* parent = nullptr);
    ~DictationController() override;

    // The overlay once the shell has made it; it must outlive the controller or be unset first.
    void setOverlay(OverlayHost* overlay) { m_overlay = overlay; }

    void beginListening(bool handsFree);
    void stopAndProcess();
    void toggleHandsFree();
    // Escape.
    void cancel();
    // The hotkey of a hold turned out to be the modifier of a shortcut: its recording is dropped
    // without a trace. A hands-free recording goes on.
    void dropShortcutHold();
    // A hotkey press clears a finished phase and the preview at once.
    void dismissTransient();
    void applyOverlayChoice(const OverlayResultChoice& choice);
    void translateSelection(const QString& code);
    void applyLearned(const QList<DictionaryItem>& items);
    void scheduleSilence();
    void releaseSilence();

    // Raised at every accepted recording start.
    quint64 generation() const { return m_generation; }

signals:
    // The user has something to do in the main window at section (allow the microphone).
    void mainWanted(MainSection section);

private:
    struct ChoiceMeta {
        QString raw;
        std::optional<double> duration;
        std::optional<QString> app;
    };
    struct Delivery {
        QString text;
        QString raw;
        std::optional<double> duration;
        std::optional<QString> app;
        bool command = false;
        bool pasted = false;
        std::optional<QString> fieldText;
        std::optional<QString> serverFailure;
        bool replacedCopy = false; // kept on the clipboard in place of the user's copy
    };

    void show(const Phase& phase, std::optional<int> resetAfterMs);
    void presentPreview(const QString& text, DictationPreviewStatus status, bool wasCommand);
    void startSelectionCapture();
    void dropSelectionCapture();
    void cancelJob();
    // The engine lets go of what it decoded of the recording so far.
    void dropStream();
    void stopTicker();
    // Every dictation ends with one line in the timing log saying how.
    static void ended(const QString& outcome);
    std::optional<FrontApp> frontApp() const;
    // Whether a run's result may still touch anything.
    bool isCurrent(const DictationJob* job) const;
    // pasted: whether a text meant for a field reached it; absent for one that was not (a note).
    void addHistory(const QString& raw, const QString& text, std::optional<double> duration,
                    const std::optional<QString>& app, bool command,
                    std::optional<bool> pasted = std::nullopt,
                    const std::optional<QString>& serverFailure = std::nullopt);
    void finishDeliver(const Delivery& delivery, quint64 generation);
    // Once a dictation's text is in: a notice of the recogniser that wrote it when the speech
    // server failed or first answered since it changed, and of a correction that failed.
    void tellAfterDelivery(DictationJob* job, const std::optional<QString>& polishFailure);

    // The dictation's processing, in the order it runs.
    void transcribed(DictationJob* job, const EngineResult<Transcript>& result);
    void selectionKnown(DictationJob* job);
    // Pastes the raw text fitted to what stands before the caret.
    void insertRaw(DictationJob* job, std::function<void(Inserter::Landing)> landed);
    void deliverPlain(DictationJob* job);
    void startCorrection(DictationJob* job);
    void sendCorrection(DictationJob* job);
    void finishCorrection(DictationJob* job);

    // The selection commands.
    void commandOnSelection(DictationJob* job);
    void saveNote(DictationJob* job, const QString& text);
    void finishCommand(DictationJob* job);
    void translated(DictationJob* job, const QString& translation);

    AppState& m_state;
    Clock& m_clock;
    SpeechService& m_speech;
    Recorder& m_recorder;
    Inserter& m_inserter;
    Silencer& m_silencer;
    Learner& m_learner;
    SoundPlayer& m_sounds;
    MicrophoneAccess& m_microphone;
    WindowSystem& m_windows;
    OverlayHost* m_overlay = nullptr;

    quint64 m_generation = 0;
    QPointer<DictationJob> m_job;
    QPointer<PendingSelection> m_selection;
    // The recording on its way to the engine while it is made.
    QPointer<SpeechStream> m_stream;
    qint64 m_listenStartedMs = 0;
    Clock::Timer m_ticker;
    Clock::Timer m_resetWork;
    Clock::Timer m_silenceWork;
    std::optional<FrontApp> m_dictationApp;
    std::optional<ChoiceMeta> m_pendingChoice;
    // The speech server that last wrote a dictation, or that was set at the start: a first answer
    // from another one is told once.
    std::optional<SpeechServer> m_provenServer;
};
