#pragma once

#include <QWidget>

class AccessibilityRepair;
class AppCommands;
class AppState;
class KitLabel;
class QVBoxLayout;

// The home page: how to dictate, the engine's state with a reload, the two permissions, the newest
// dictations, and the repair of text access while the microphone is granted and accessibility is
// not. The engine and the permissions are shown here only: the main window's banner leaves them to
// this page.
class HomePage final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(HomePage)

public:
    static constexpr int recentCount = 5;

    // Without a repair, no repair card is offered.
    HomePage(AppState& state, AppCommands& commands, AccessibilityRepair* repair, QWidget* parent = nullptr);

    // The repair card on show, if any.
    QWidget* repairCard() const { return m_repairCard; }

private:
    void followEngine();
    void followPermissions();

    AppState& m_state;
    AccessibilityRepair* m_repair;
    KitLabel* m_engineStatus;
    QVBoxLayout* m_repairSlot;
    QWidget* m_repairCard = nullptr;
};
