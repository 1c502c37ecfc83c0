#pragma once

#include <QWidget>

class AppState;
class QLabel;
class QPushButton;

// The status item's menu: engine status, dictation, the main window, notes and quitting.
class MenuBarView final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(MenuBarView)

public:
    explicit MenuBarView(AppState& state, QWidget* parent = nullptr);

signals:
    void quitRequested();

private:
    void refresh();

    AppState& m_state;
    QLabel* m_status;
    QPushButton* m_dictate;
};
