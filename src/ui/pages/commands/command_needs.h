#pragma once

#include <QWidget>

class AppCommands;
class AppState;
class KitLabel;
class LabelButton;

// What spoken commands need: a correction provider to answer them, with the way to the settings
// while none is set up, and the user's own language, which the translate menu offers first.
class CommandNeeds final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CommandNeeds)

public:
    // Whether commands can be answered: the engine must be ready to say.
    enum class Provider { Ready, Missing, Waiting };

    CommandNeeds(AppState& state, AppCommands& commands, QWidget* parent = nullptr);

    static Provider provider(const AppState& state);

    KitLabel* providerStatus() const { return m_providerStatus; }
    LabelButton* setUp() const { return m_setUp; }
    KitLabel* nativeLanguage() const { return m_native; }

private:
    void follow();

    AppState& m_state;
    KitLabel* m_providerStatus;
    LabelButton* m_setUp;
    KitLabel* m_native;
};
