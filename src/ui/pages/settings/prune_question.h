#pragma once

#include <QPointer>
#include <QWidget>

#include <functional>

class KitLabel;
class LabelButton;

// The question a retention row asks before a shorter limit removes stored dictations: how many go,
// Cancel and the red remove button, in place under the row. Cancel holds the keyboard, as in the
// history's own question, so a stray Enter or Space keeps them; Escape cancels too.
class PruneQuestion final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(PruneQuestion)

public:
    explicit PruneQuestion(QWidget* parent = nullptr);

    // Shows the question for `count` dictations; decide hears the answer once. A question still
    // open is dropped unanswered.
    void ask(qsizetype count, std::function<void(bool)> decide);
    // Hides an open question unanswered.
    void drop();
    QString text() const;
    LabelButton* cancelButton() const { return m_cancel; }
    LabelButton* removeButton() const { return m_remove; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void answer(bool remove);

    KitLabel* m_text;
    LabelButton* m_cancel;
    LabelButton* m_remove;
    std::function<void(bool)> m_decide;
    // Where the keyboard was when the question came, so that it goes back there after.
    QPointer<QWidget> m_focusBefore;
};
