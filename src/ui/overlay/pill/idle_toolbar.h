#pragma once

#include "core/base/clock.h"

#include <QWidget>

class AppCommands;
class AppState;
class IconChip;
class QLabel;
class TranslateToggle;

// The expanded idle bar: dictate, the hotkey's symbol, the translate menu's toggle and settings.
class IdleToolbar final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(IdleToolbar)

public:
    IdleToolbar(AppState& state, AppCommands& commands, Clock& clock, QWidget* parent = nullptr);

    IconChip* dictateButton() const { return m_dictate; }
    QLabel* hotkeySymbol() const { return m_hotkey; }
    TranslateToggle* translateButton() const { return m_translate; }
    IconChip* settingsButton() const { return m_settings; }

private:
    void refresh();

    AppState& m_state;
    AppCommands& m_commands;
    IconChip* m_dictate;
    QLabel* m_hotkey;
    TranslateToggle* m_translate;
    IconChip* m_settings;
};
