#pragma once

#include "core/base/clock.h"
#include "core/config/quenda_config.h"
#include "core/model/main_section.h"
#include "core/model/phase.h"
#include "core/state/app_commands.h"
#include "platform/app_window.h"

#include <QObject>

#include <functional>
#include <optional>

class AppState;
class CorrectionModelLookup;
class DictationController;
class EngineControl;
class HotkeyMonitor;
class Learner;
class LoginItem;
class OverlayHost;
class ProviderKeys;
class ShellWindows;
class UpdateChecker;
class WindowSystem;

// The program's frame around the dictation: the launch and stop sequences, what the views ask of
// the application, the reactions to configuration changes, the update check, the permission poll
// and the windows' bookkeeping. Main thread only.
class ShellController final : public QObject, public AppCommands {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ShellController)

public:
    // Owned by the composition root, outliving the controller.
    struct Services {
        AppState& state;
        Clock& clock;
        HotkeyMonitor& hotkeys;
        EngineControl& engine;
        DictationController& dictation;
        Learner& learner;
        LoginItem& loginItem;
        ShellWindows& windows;
        OverlayHost& overlay;
        WindowSystem& windowSystem;
        const ProviderKeys& keys;
        UpdateChecker& updates;
        // Reads the provider keys again in the background (ProviderKeySnapshot::refresh).
        std::function<void(const QuendaConfig&)> refreshKeys;
        // Puts back output muting a crash left behind.
        std::function<void()> restoreSilence;
        // Reads the recording's cues ahead of their first play; asked only while they are on.
        std::function<void()> prepareSounds;
    };

    enum class LaunchWindow { None, Onboarding, Home };

    static constexpr int kPermissionPollMs = 800;
    static constexpr int kWarmupMs = 25'000;
    static constexpr int kUpdateCheckDelayMs = 8'000;
    static constexpr int kLoginNoticeMs = 3'000;
    // How long the launch greeting waits for the permission probe's first answers.
    static constexpr int kPermissionAnswerWaitMs = 4'000;

    ShellController(const Services& services, QObject* parent = nullptr);
    ~ShellController() override;

    // Which window greets the user at launch.
    static LaunchWindow launchWindow(bool onboarded, bool micGranted, bool axGranted);

    // `snapshot`: no crash repair, no key reads and no update check.
    void launch(bool snapshot);
    // The orderly stop; idempotent.
    void stop();

    void showMain(std::optional<MainSection> section);
    // From the status item's menu it closes the menu first and gives the keyboard back to the
    // window that had it.
    void toggleRecording() override;
    void openMain(std::optional<MainSection> section) override { showMain(section); }
    void openSettings(SettingsPlace place) override;
    void openNotes() override;
    void reloadEngine() override;
    void lookupCorrectionModel(const QString& key, const QString& baseURL) override;
    void finishOnboarding() override;
    void translateSelection(const QString& code) override;
    void applyOverlayChoice(const OverlayResultChoice& choice) override;
    bool portFree(qint64 port) const override;
    void checkSpeechServer(QObject* context, SpeechCheckDone done) override;
    void configChanged(const QuendaConfig& previous, const QuendaConfig& current);
    // Mirrors the engine's state into the shared state; called on every engine report.
    void engineUpdated();
    void refreshCorrectionModel(const QString& key, const std::optional<QString>& baseURL);
    // The held keys were read again; a ready engine may now be asked what a key could not get before.
    void providerKeysChanged();
    void pollPermissions();
    // Brings launch at login in line with the flag; a failure is shown, the flag stays.
    void updateLaunch(bool enabled);
    void markOnboarded();
    // Whether a status item holds the program's menu.
    bool hasStatusItem() const { return m_hasStatusItem; }

private:
    void wireState();
    void onboardingClosed();
    // Opens the window the launch greets with, once the permissions are known.
    void greetIfAnswered();
    void observeFrontApp();
    void applyHotkey(const QuendaConfig& config);
    // Closes the status item's menu, which holds the keyboard while open, and gives the keyboard back
    // to the window that had it; false when no menu was open.
    bool closeMenuForDictation();
    // Shows the failed login change now, or once a recording and its processing are over.
    void showLoginNotice();

    AppState& m_state;
    Clock& m_clock;
    HotkeyMonitor& m_hotkeys;
    EngineControl& m_engine;
    DictationController& m_dictation;
    Learner& m_learner;
    LoginItem& m_loginItem;
    ShellWindows& m_windows;
    OverlayHost& m_overlay;
    WindowSystem& m_windowSystem;
    const ProviderKeys& m_keys;
    UpdateChecker& m_updates;
    std::function<void(const QuendaConfig&)> m_refreshKeys;
    std::function<void()> m_restoreSilence;
    std::function<void()> m_prepareSounds;
    CorrectionModelLookup* m_lookup;

    bool m_launched = false;
    bool m_stopped = false;
    bool m_hasStatusItem = false;
    bool m_greetingPending = false;
    qint64 m_launchedAtMs = 0;
    Clock::Timer m_permissionTimer;
    Clock::Timer m_warmupTimer;
    Clock::Timer m_updateCheck;
    Clock::Timer m_noticeReset;
    std::optional<Phase> m_loginNotice;
    // The window in front when the status item's menu opened; none when it was ours.
    std::optional<AppWindow> m_beforeMenu;
    Clock::Timer m_startFromMenu;
};
