#pragma once

#include <QWidget>

class AccessibilityRepair;
class AppState;
class PermissionRow;

// The microphone and accessibility permissions as kit rows, following the shared state.
class PermissionRows final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(PermissionRows)

public:
    // Without a repair, the accessibility row's allow button is disabled: nothing could be done.
    PermissionRows(AppState& state, AccessibilityRepair* repair, QWidget* parent = nullptr);

    PermissionRow* microphone() const { return m_microphone; }
    PermissionRow* accessibility() const { return m_accessibility; }

private:
    AppState& m_state;
    PermissionRow* m_microphone;
    PermissionRow* m_accessibility;
};
