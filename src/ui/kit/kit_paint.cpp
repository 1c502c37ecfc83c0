#include "ui/kit/kit_paint.h"

#include <QPainter>
#include <QPainterPathStroker>
#include <QWidget>

#include <cmath>

QPainterPath KitPaint::rounded(const QRectF& rect, double radius)
{
    const double r = std::min({radius, rect.width() / 2, rect.height() / 2});
    QPainterPath path;
    path.addRoundedRect(rect, r, r);
    return path;
}

void KitPaint::shadow(QPainter& painter, const QPainterPath& shape, const QColor& colour, double blur,
                      double offsetY)
{
    if (colour.alpha() == 0 || blur <= 0)
        return;
    painter.save();
    painter.setPen(Qt::NoPen);
    constexpr int steps = 6;
    for (int i = steps; i >= 1; --i) {
        const double grow = blur * i / steps;
        QColor c = colour;
        c.setAlphaF(static_cast<float>(colour.alphaF() * 2.0 / steps * (1.0 - double(i - 1) / steps)));
        QPainterPathStroker stroker;
        stroker.setWidth(grow);
        stroker.setJoinStyle(Qt::RoundJoin);
        const QPainterPath wide = shape.united(stroker.createStroke(shape)).translated(0, offsetY);
        painter.setBrush(c);
        painter.drawPath(wide);
    }
    painter.restore();
}

void KitPaint::focusRing(QPainter& painter, const QPainterPath& shape, const QWidget& widget)
{
    painter.save();
    QPainterPathStroker stroker;
    stroker.setWidth(4);
    const QPainterPath outer = shape.united(stroker.createStroke(shape));
    QPainterPathStroker ring;
    ring.setWidth(2);
    painter.setPen(Qt::NoPen);
    painter.setBrush(widget.palette().color(QPalette::Highlight));
    painter.drawPath(ring.createStroke(outer));
    painter.restore();
}

void KitPaint::symbol(QPainter& painter, Symbol symbol, const QRectF& box, const QBrush& brush)
{
    const qreal dpr = painter.device() ? painter.device()->devicePixelRatioF() : 1.0;
    const QSize pixels(int(std::ceil(box.width() * dpr)), int(std::ceil(box.height() * dpr)));
    QImage image = SymbolArt::tinted(symbol, pixels, brush);
    image.setDevicePixelRatio(dpr);
    painter.drawImage(box.topLeft(), image);
}
