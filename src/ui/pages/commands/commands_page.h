#pragma once

#include <QStringList>
#include <QWidget>

class AppState;
class CommandNeeds;
class KitLabel;
class RecentHistory;
class SettingsBinder;
class ToggleSwitch;
struct QuendaConfig;

// The commands page: the switch of command mode, what a user can say about a selection, what
// commands need, and the latest command results of the history.
class CommandsPage final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CommandsPage)

public:
    static constexpr int examplesPerGroup = 3;
    static constexpr int recentCount = 5;

    explicit CommandsPage(AppState& state, QWidget* parent = nullptr);

    // The languages whose examples the page shows: the program's, the user's own, then the one
    // dictated in when it is fixed; each once.
    static QStringList exampleLanguages(const QuendaConfig& config);

    ToggleSwitch* modeSwitch() const { return m_mode; }
    KitLabel* modeExplanation() const { return m_explanation; }
    CommandNeeds* needs() const { return m_needs; }
    RecentHistory* recent() const { return m_recent; }

private:
    void followConfig();

    AppState& m_state;
    SettingsBinder* m_binder;
    ToggleSwitch* m_mode;
    KitLabel* m_explanation;
    CommandNeeds* m_needs;
    RecentHistory* m_recent;
};
