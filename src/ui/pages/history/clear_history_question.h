#pragma once

#include <QWidget>

class ConfirmLine;
class LabelButton;

// The question asked before the whole history goes, in the page and in the look of its cards:
// what happens, Cancel and the red delete button.
class ClearHistoryQuestion final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ClearHistoryQuestion)

public:
    explicit ClearHistoryQuestion(QWidget* parent = nullptr);

    // Shows the question with the keyboard on Cancel.
    void ask();
    LabelButton* cancelButton() const;
    LabelButton* deleteButton() const;

signals:
    // The question is gone; clear tells whether the user chose to delete.
    void answered(bool clear);

private:
    ConfirmLine* m_line;
};
