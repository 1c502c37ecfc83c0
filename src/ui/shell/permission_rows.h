#pragma once

#include <QWidget>

class AppState;
class QLabel;

// The microphone and accessibility permissions, each with its state, following the shared state.
class PermissionRows final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(PermissionRows)

public:
    explicit PermissionRows(AppState& state, QWidget* parent = nullptr);

private:
    void refresh();

    AppState& m_state;
    QLabel* m_microphone;
    QLabel* m_accessibility;
};
