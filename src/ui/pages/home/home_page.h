#pragma once

#include <QWidget>

class AccessibilityRepair;
class AppState;
class KitLabel;
class StatusPill;
class QVBoxLayout;

// The home page: the engine's state with a reload, the newest dictations, the two permissions,
// and the repair of text access while the microphone is granted and accessibility is not.
class HomePage final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(HomePage)

public:
    static constexpr int recentCount = 5;

    // Without a repair, no repair card is offered.
    HomePage(AppState& state, AccessibilityRepair* repair, QWidget* parent = nullptr);

    // The repair card on show, if any.
    QWidget* repairCard() const { return m_repairCard; }

private:
    void followEngine();
    void followPermissions();

    AppState& m_state;
    AccessibilityRepair* m_repair;
    StatusPill* m_pill;
    KitLabel* m_engineStatus;
    QVBoxLayout* m_repairSlot;
    QWidget* m_repairCard = nullptr;
};
