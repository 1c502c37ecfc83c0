#pragma once

#include "ui/shell/shell_windows.h"

#include <QPointer>
#include <QWidget>

class AccessibilityRepair;
class AppIcons;
class AppCommands;
class AppState;
class OpenAIKeyStore;
class QSettings;
class QSystemTrayIcon;

// The shell's real windows: the tray's status item, its menu popup, the main window and the
// onboarding window.
class ShellWindowHost final : public ShellWindows {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ShellWindowHost)

public:
    // `settings` keeps the main window's frame between runs.
    // Without a repair, the main window offers no repair of text access.
    // Without icons, the style page shows every application with the same symbol.
    // Without keys, the settings show no provider keys.
    ShellWindowHost(AppState& state, AppCommands& commands, QSettings& settings,
                    AccessibilityRepair* repair = nullptr, QObject* parent = nullptr,
                    AppIcons* icons = nullptr, OpenAIKeyStore* keys = nullptr);
    ~ShellWindowHost() override;

    bool installStatusItem() override;
    void refreshStatusIcon() override;
    void showMain() override;
    std::optional<quint64> mainWindowHandle() const override;
    void showOnboarding() override;
    void closeOnboarding() override;
    void closeMenu() override;
    bool menuOpen() const override;
    // Opens the menu under the status item, or at the pointer without one.
    void toggleMenu();

    QWidget* mainWindow() const { return m_main; }
    QWidget* onboardingWindow() const { return m_onboarding; }

signals:
    void quitRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    AppState& m_state;
    AppCommands& m_commands;
    QSettings& m_settings;
    AccessibilityRepair* m_repair;
    AppIcons* m_icons;
    OpenAIKeyStore* m_keys;
    QSystemTrayIcon* m_tray = nullptr;
    QPointer<QWidget> m_main;
    QPointer<QWidget> m_onboarding;
    QPointer<QWidget> m_menu;
};
