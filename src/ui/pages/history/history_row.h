#pragma once

#include "core/model/history_entry.h"
#include "ui/pages/history/history_meta.h"

#include <QDateTime>
#include <QWidget>

class AppState;
class IconButton;
class LabelButton;
class LineLimitedLabel;
class QMenu;
class QVBoxLayout;
class Reveal;

// One history entry: its final text, the meta line, copy and remove buttons that show under the
// pointer or with the keyboard in the row, a panel with the raw transcript and text buttons, and
// a context menu. A click copies in compact mode and opens or closes the panel in the others;
// Enter and Space do the same, Ctrl+C copies and the Menu key opens the menu.
class HistoryRow final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(HistoryRow)

public:
    enum class Mode { Compact, Relative, Full };

    static constexpr int copyMarkMs = 1200;

    HistoryRow(AppState& state, const HistoryEntry& entry, Mode mode, QWidget* parent = nullptr);

    const HistoryEntry& entry() const { return m_entry; }
    // The same entry with new contents, for a row its list keeps.
    void setEntry(const HistoryEntry& entry);
    Mode mode() const { return m_mode; }
    bool hovering() const { return m_hovering; }
    bool expanded() const { return m_expanded; }
    bool copied() const { return m_copied; }
    // Opens or closes the panel on the row's spring; compact rows have none.
    void setExpanded(bool expanded);
    // The panel's opening, present once the panel has been opened.
    Reveal* panel() const { return m_reveal; }

    IconButton* copyButton() const { return m_copyButton; }
    IconButton* removeButton() const { return m_removeButton; }
    HistoryMeta* meta() const { return m_meta; }
    // The panel's buttons, present once the panel has been opened (copy raw only for a dictation
    // whose raw transcript differs from its text).
    LabelButton* panelCopyButton() const { return m_panelCopy; }
    LabelButton* panelCopyRawButton() const { return m_panelCopyRaw; }
    LabelButton* panelRemoveButton() const { return m_panelRemove; }
    // The text as shown: cut to the mode's lines, or whole while the panel is open.
    QString shownText() const;
    // Present once the menu has been opened.
    QMenu* menu() const { return m_menu; }

    // What the meta line shows for an entry in a mode at the moment now.
    static QList<HistoryMeta::Item> metaItems(const HistoryEntry& entry, Mode mode, const QDateTime& now);

protected:
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void click();
    void copy();
    void copyRaw();
    void remove();
    void openMenu(const QPoint& at);
    // The entry is still in the state's history: a row whose entry went elsewhere does nothing.
    bool live() const;
    void buildPanel();
    // A change of the copy mark fades; hover and focus show and hide the buttons at once.
    void refresh(bool fadeMark = false);

    AppState& m_state;
    HistoryEntry m_entry;
    const Mode m_mode;
    bool m_hovering = false;
    bool m_expanded = false;
    bool m_copied = false;
    bool m_pressed = false;
    bool m_keyboardFocus = false;
    bool m_buttonKeyboardFocus = false;
    LineLimitedLabel* m_text;
    LineLimitedLabel* m_fullText = nullptr;
    HistoryMeta* m_meta;
    IconButton* m_copyButton;
    IconButton* m_removeButton;
    QVBoxLayout* m_column;
    QVBoxLayout* m_texts;
    QWidget* m_panel = nullptr;
    Reveal* m_reveal = nullptr;
    QWidget* m_transcript = nullptr;
    LabelButton* m_panelCopy = nullptr;
    LabelButton* m_panelCopyRaw = nullptr;
    LabelButton* m_panelRemove = nullptr;
    QMenu* m_menu = nullptr;
};
