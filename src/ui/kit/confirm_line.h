#pragma once

#include <QWidget>

class LabelButton;

// A question answered in place: the texts saying what would happen, Cancel and a red button that
// does it. Cancel takes the keyboard, so a stray Enter or Space changes nothing; Escape cancels too.
// Showing and hiding the question is its owner's.
class ConfirmLine final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ConfirmLine)

public:
    // The texts stand before the buttons and take the room left; action labels the red button.
    ConfirmLine(QWidget* texts, const QString& action, QWidget* parent = nullptr);

    void focusCancel(Qt::FocusReason reason);
    LabelButton* cancelButton() const { return m_cancel; }
    LabelButton* actionButton() const { return m_action; }

signals:
    // act tells whether the user chose the red button.
    void answered(bool act);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    LabelButton* m_cancel;
    LabelButton* m_action;
};
