#pragma once

#include <QWidget>

class AppCommands;
class AppState;
class LabelButton;
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
    // The edge's strength, as an opacity of the text colour.
    static constexpr double rimOpacity = 0.3;

    MenuBarView(AppState& state, AppCommands& commands, QWidget* parent = nullptr);

    QVBoxLayout* historySlot() const { return m_historySlot; }
    // The recent list with its title; hidden while the history is empty.
    QWidget* recent() const { return m_recent; }
    LabelButton* dictate() const { return m_dictate; }
    // As tall as the content at its width, and never taller: the layout's minimum reckons wrapped
    // lines at narrower widths and would leave a band of nothing.
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }
    QVBoxLayout* destinationSlot() const { return m_destinationSlot; }
    QVBoxLayout* styleSlot() const { return m_styleSlot; }

signals:
    void quitRequested();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void refresh();

    AppState& m_state;
    AppCommands& m_commands;
    StatusPill* m_status;
    LabelButton* m_dictate;
    QWidget* m_recent;
    QVBoxLayout* m_historySlot;
    QVBoxLayout* m_destinationSlot;
    QVBoxLayout* m_styleSlot;
};
