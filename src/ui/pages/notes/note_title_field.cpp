#include "ui/pages/notes/note_title_field.h"

#include <QPainter>
#include <QStyleOptionFrame>

NoteTitleField::NoteTitleField(QWidget* parent)
    : QLineEdit(parent)
{
    setFrame(false);
}

QRect NoteTitleField::textRect() const
{
    QStyleOptionFrame panel;
    initStyleOption(&panel);
    const QRect contents =
        style()->subElementRect(QStyle::SE_LineEditContents, &panel, this).marginsRemoved(textMargins());
    return contents.adjusted(textInset, 0, -textInset, 0);
}

QString NoteTitleField::shownText() const
{
    if (hasFocus())
        return text();
    return fontMetrics().elidedText(text(), Qt::ElideRight, textRect().width());
}

void NoteTitleField::paintEvent(QPaintEvent* event)
{
    const QString shown = shownText();
    if (shown == text()) {
        QLineEdit::paintEvent(event);
        return;
    }
    // Where QLineEdit would put the line, so the title does not move when the keyboard comes.
    const QRect line = textRect();
    const QFontMetrics metrics = fontMetrics();
    const int top = line.y() + (line.height() - metrics.height() + 1) / 2;
    QPainter p(this);
    p.setPen(palette().color(QPalette::Text));
    p.drawText(QPoint(line.x(), top + metrics.ascent()), shown);
}
