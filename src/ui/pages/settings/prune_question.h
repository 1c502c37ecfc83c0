#pragma once

#include <QPointer>
#include <QWidget>

#include <functional>

class ConfirmLine;
class KitLabel;
class LabelButton;

// The question a retention row asks before a shorter limit removes stored dictations: how many go,
// Cancel and the red remove button, in place under the row, as in the history's own question.
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
    LabelButton* cancelButton() const;
    LabelButton* removeButton() const;

private:
    void answer(bool remove);

    KitLabel* m_text;
    ConfirmLine* m_line;
    std::function<void(bool)> m_decide;
    // Where the keyboard was when the question came, so that it goes back there after.
    QPointer<QWidget> m_focusBefore;
};
