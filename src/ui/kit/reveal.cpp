#include "ui/kit/reveal.h"

#include "ui/kit/theme.h"

#include <QGraphicsOpacityEffect>

#include <algorithm>
#include <cmath>

Reveal::Reveal(Clock& clock, QWidget* child, QWidget* parent)
    : QWidget(parent)
    , m_child(child)
    , m_fade(new QGraphicsOpacityEffect)
    , m_open(clock, *this)
{
    child->setParent(this);
    // The child owns the effect; only a fading child pays for drawing through it.
    m_fade->setEnabled(false);
    child->setGraphicsEffect(m_fade);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    hide();
    m_open.setOnFrame([this] { follow(); });
}

void Reveal::setOpen(bool open, int durationMs, Tween::Curve curve)
{
    if (open == isOpen())
        return;
    // Opening at once, it shows at its full height: showing lays out the rows around it right away.
    if (open && (!Theme::animated() || !parentWidget() || !parentWidget()->isVisible()))
        m_open.set(1);
    if (open)
        show();
    m_open.moveTo(open ? 1 : 0, durationMs, curve);
    // Opening keeps the child clickable at once; closing lets clicks through to what lies under it.
    m_child->setAttribute(Qt::WA_TransparentForMouseEvents, !open);
}

double Reveal::openness() const
{
    return std::clamp(m_open.value(), 0.0, 1.0);
}

int Reveal::childHeight(int width) const
{
    // Not its minimum: wrapped text is at its tallest there, at its narrowest.
    return m_child->hasHeightForWidth() ? m_child->heightForWidth(width) : m_child->sizeHint().height();
}

int Reveal::heightForWidth(int width) const
{
    return int(std::lround(childHeight(width) * openness()));
}

QSize Reveal::sizeHint() const
{
    return {m_child->sizeHint().width(), heightForWidth(width() > 0 ? width() : m_child->sizeHint().width())};
}

void Reveal::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    const int full = childHeight(width());
    m_child->setGeometry(0, height() - full, width(), full);
}

void Reveal::follow()
{
    const double open = openness();
    m_fade->setEnabled(open > 0 && open < 1);
    m_fade->setOpacity(open);
    if (open <= 0 && !isOpen())
        hide();
    updateGeometry();
    const int full = childHeight(width());
    m_child->setGeometry(0, height() - full, width(), full);
}
