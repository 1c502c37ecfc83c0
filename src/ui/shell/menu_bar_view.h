#pragma once

#include <QWidget>

class AppState;
class PrimaryButton;
class QVBoxLayout;
class StatusPill;

// The status item's popover: the mark and the engine's state, dictation, the newest history entries,
// the note destination, the style list, the main window, notes and quitting; each of the three comes from
// its page's own folder.
class MenuBarView final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(MenuBarView)

public:
    static constexpr int minWidth = 300;
    static constexpr int recentCount = 3;

    explicit MenuBarView(AppState& state, QWidget* parent = nullptr);

    QVBoxLayout* historySlot() const { return m_historySlot; }
    QVBoxLayout* destinationSlot() const { return m_destinationSlot; }
    QVBoxLayout* styleSlot() const { return m_styleSlot; }

signals:
    void quitRequested();

private:
    void refresh();

    AppState& m_state;
    StatusPill* m_status;
    PrimaryButton* m_dictate;
    QVBoxLayout* m_historySlot;
    QVBoxLayout* m_destinationSlot;
    QVBoxLayout* m_styleSlot;
};
