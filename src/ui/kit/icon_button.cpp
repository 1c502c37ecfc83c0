#include "ui/kit/icon_button.h"

#include "ui/kit/kit_paint.h"
#include "ui/kit/scheme.h"

#include <QPainter>

IconButton::IconButton(Symbol symbol, const QString& accessibleName, QWidget* parent)
    : KitButton(parent)
{
    setSymbol(symbol);
    setAccessibleName(accessibleName);
    setToolTip(accessibleName);
    setFixedSize(side, side);
}

void IconButton::setInk(Ink ink)
{
    m_ink = std::move(ink);
    update();
}

bool IconButton::hitButton(const QPoint& pos) const
{
    const QPointF d = QPointF(pos) + QPointF(0.5, 0.5) - QRectF(rect()).center();
    return d.x() * d.x() + d.y() * d.y() <= (side / 2.0) * (side / 2.0);
}

void IconButton::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath circle;
    circle.addEllipse(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5));
    paintStateFill(p, circle, Scheme::primary(palette(), 1), circleFill);
    const double glyph = 12;
    KitPaint::symbol(p, *symbol(),
                     QRectF(QRectF(rect()).center() - QPointF(glyph / 2, glyph / 2), QSizeF(glyph, glyph)),
                     m_ink ? m_ink(palette()) : Scheme::text(palette(), Scheme::Text::Primary));
    if (keyboardFocus()) {
        QPainterPath inner;
        inner.addEllipse(QRectF(rect()).adjusted(3, 3, -3, -3));
        KitPaint::focusRing(p, inner, *this);
    }
}
