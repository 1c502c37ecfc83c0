#pragma once

#include <QWidget>

class LabelButton;

// The question asked before the whole history goes, in the page and in the look of its cards:
// what happens, Cancel and the red delete button. Cancel holds the keyboard, so a stray Enter or
// Space keeps the history; Escape cancels too.
class ClearHistoryQuestion final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ClearHistoryQuestion)

public:
    explicit ClearHistoryQuestion(QWidget* parent = nullptr);

    // Shows the question with the keyboard on Cancel.
    void ask();
    LabelButton* cancelButton() const { return m_cancel; }
    LabelButton* deleteButton() const { return m_delete; }

signals:
    // The question is gone; clear tells whether the user chose to delete.
    void answered(bool clear);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void answer(bool clear);

    LabelButton* m_cancel;
    LabelButton* m_delete;
};
