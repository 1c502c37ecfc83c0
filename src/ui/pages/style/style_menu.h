#pragma once

#include <QWidget>

class AppState;
class CorrectionNotice;
class KitLabel;
class QComboBox;
class SettingsBinder;

// The popover's style list: every writing style in a menu. With an application in front it shows
// and sets that application's style, otherwise the default style. Below it, while no correction
// provider answers, the line that says styles need one.
class StyleMenu final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(StyleMenu)

public:
    explicit StyleMenu(AppState& state, QWidget* parent = nullptr);

    QComboBox* menu() const { return m_menu; }
    KitLabel* label() const { return m_label; }
    CorrectionNotice* needsProvider() const { return m_needsProvider; }

private:
    void refresh();
    void choose(const QString& id);

    AppState& m_state;
    SettingsBinder* m_binder;
    KitLabel* m_label;
    QComboBox* m_menu;
    CorrectionNotice* m_needsProvider;
};
