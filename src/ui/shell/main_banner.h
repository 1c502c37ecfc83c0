#pragma once

#include <QWidget>

class AccessibilityRepair;
class AppCommands;
class AppState;
class KitButton;
class QVBoxLayout;

// The one banner above every page of the main window: the most urgent of a missing permission, a
// speech engine that stopped, and a dictation that could not be pasted. Each goes when its cause
// does, and the next one, if any, takes its place. Above home, whose own cards show the permissions
// and the engine, only the dictation that could not be pasted.
class MainBanner final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(MainBanner)

public:
    // Most urgent first: what stops every dictation comes before what stops only the paste.
    enum class Kind { None, Microphone, Engine, Accessibility, Unpasted };

    // Without a repair, the accessibility banner's allow button is disabled.
    MainBanner(AppState& state, AppCommands& commands, AccessibilityRepair* repair,
               QWidget* parent = nullptr);

    static Kind choose(const AppState& state);
    Kind kind() const { return m_kind; }
    // The banner's button; none while no banner shows.
    KitButton* action() const { return m_action; }

private:
    void follow();
    void build();
    QWidget* permission(bool microphone);
    QWidget* engine();
    QWidget* unpasted();

    AppState& m_state;
    AppCommands& m_commands;
    AccessibilityRepair* m_repair;
    QWidget* m_frame;
    QVBoxLayout* m_slot;
    QWidget* m_content = nullptr;
    KitButton* m_action = nullptr;
    Kind m_kind = Kind::None;
    // What the shown banner was built from, so that it is built anew only when that changed.
    QString m_source;
};
