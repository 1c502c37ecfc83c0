#include "ui/kit/elided_label.h"

#include <QFontMetrics>
#include <QPainter>

ElidedLabel::ElidedLabel(const QString& text, Qt::TextElideMode mode, QWidget* parent)
    : QWidget(parent)
    , m_text(text)
    , m_mode(mode)
{
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void ElidedLabel::setText(const QString& text)
{
    if (text == m_text)
        return;
    m_text = text;
    updateGeometry();
    update();
}

void ElidedLabel::setColor(const QColor& color)
{
    m_color = color;
    update();
}

QString ElidedLabel::shownText() const
{
    // Line breaks would draw as boxes on one line.
    QString line = m_text;
    line.replace(u'\n', u' ');
    return fontMetrics().elidedText(line, m_mode, width());
}

QSize ElidedLabel::sizeHint() const
{
    const QFontMetrics fm = fontMetrics();
    return {fm.horizontalAdvance(m_text), fm.height()};
}

QSize ElidedLabel::minimumSizeHint() const
{
    return {0, fontMetrics().height()};
}

void ElidedLabel::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setPen(m_color);
    p.setFont(font());
    p.drawText(rect(), Qt::AlignVCenter | Qt::AlignLeft, shownText());
}
