#pragma once

#include <QWidget>

class AppState;
class KitLabel;
class QComboBox;

// The popover's style list: every writing style in a menu. With an application in front it shows
// and sets that application's style, otherwise the default style.
class StyleMenu final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(StyleMenu)

public:
    explicit StyleMenu(AppState& state, QWidget* parent = nullptr);

    QComboBox* menu() const { return m_menu; }
    KitLabel* label() const { return m_label; }

private:
    void refresh();
    void choose(const QString& id);

    AppState& m_state;
    KitLabel* m_label;
    QComboBox* m_menu;
};
