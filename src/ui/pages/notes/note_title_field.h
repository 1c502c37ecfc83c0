#pragma once

#include <QLineEdit>

// The open note's title: a borderless one-line field. While the keyboard is elsewhere, a title
// too long for the field ends in an ellipsis, as in the list, rather than being cut mid-letter.
class NoteTitleField final : public QLineEdit {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(NoteTitleField)

public:
    // How far QLineEdit itself sets its text in from the edge of its contents.
    static constexpr int textInset = 2;

    explicit NoteTitleField(QWidget* parent = nullptr);

    // The title as drawn: whole while it is edited or when it fits.
    QString shownText() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QRect textRect() const;
};
