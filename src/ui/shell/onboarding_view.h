#pragma once

#include <QWidget>

class AccessibilityRepair;
class AppState;
class SettingsBinder;
class StatusPill;
class ToggleSwitch;

// The first run's welcome: the mark, what the program does, the hotkey to hold, the engine's
// state, the two permissions, and done beside the switch for launching at login.
class OnboardingView final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(OnboardingView)

public:
    explicit OnboardingView(AppState& state, AccessibilityRepair* repair = nullptr,
                            QWidget* parent = nullptr);

    // 640 wide and as tall as what it shows.
    QSize windowSize() const;
    ToggleSwitch* launchAtLogin() const { return m_launchAtLogin; }

private:
    AppState& m_state;
    SettingsBinder* m_binder;
    StatusPill* m_engine;
    ToggleSwitch* m_launchAtLogin = nullptr;
};
