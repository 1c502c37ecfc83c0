#pragma once

#include <QObject>

#include <optional>

// The shell's windows and status item as the application controller drives them.
class ShellWindows : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ShellWindows)

public:
    using QObject::QObject;
    ~ShellWindows() override = default;

    // Puts the status item up; false where the desktop has no tray to hold one.
    virtual bool installStatusItem() = 0;
    // Redraws the status item from the shared state.
    virtual void refreshStatusIcon() = 0;
    // The main window on the state's current section.
    virtual void showMain() = 0;
    // The main window's handle in the window system while it is shown.
    virtual std::optional<quint64> mainWindowHandle() const = 0;
    virtual void showOnboarding() = 0;
    // Closes the onboarding window as its close button would; nothing when none is open.
    virtual void closeOnboarding() = 0;
    virtual void closeMenu() = 0;
    virtual bool menuOpen() const = 0;

signals:
    // The onboarding window went away, by its close button or by closeOnboarding().
    void onboardingClosed();
    // The status item's menu is about to open and take the keyboard.
    void menuOpening();
};
