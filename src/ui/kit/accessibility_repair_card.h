#pragma once

#include <QWidget>

class AccessibilityRepair;
class AppState;
class KitLabel;
class LabelButton;
class Spinner;

// Walks the user through turning on the text access dictation needs: the problem, three numbered
// steps and one button that switches the session's accessibility on and opens the desktop's
// accessibility settings. While the user is away it shows a waiting line, which ends by itself
// when the permission arrives. Where no settings program is known it says what to do instead.
class AccessibilityRepairCard final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(AccessibilityRepairCard)

public:
    AccessibilityRepairCard(AppState& state, AccessibilityRepair& repair, QWidget* parent = nullptr);

    bool waiting() const { return m_waiting; }
    LabelButton* button() const { return m_button; }
    // Shown while waiting and not granted.
    QWidget* waitingRow() const { return m_waitingRow; }
    QWidget* grantedRow() const { return m_grantedRow; }
    // Shown after a press found no settings program to open.
    KitLabel* noSettingsHint() const { return m_noSettings; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void press();
    void refresh();

    AppState& m_state;
    AccessibilityRepair& m_repair;
    bool m_waiting = false;
    LabelButton* m_button;
    QWidget* m_waitingRow;
    QWidget* m_grantedRow;
    KitLabel* m_noSettings;
};
