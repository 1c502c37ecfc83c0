#include "ui/shell/status_icon_art.h"

#include "ui/kit/kit_paint.h"
#include "ui/kit/theme.h"

#include <QPainter>
#include <QPainterPath>

namespace {

// The symbols are white on a tile of colour: the tray's panel may be light or dark, and a tile
// stands out on either, where a grey symbol of its own would read as switched off on a light one.
const QColor symbolInk = Qt::white;

void drawWaveform(QPainter& painter, const QRectF& square)
{
    static constexpr double heights[] = {0.30, 0.65, 1.0, 0.55, 0.80, 0.35};
    const double gap = square.width() / 6.0;
    QPen pen(symbolInk, gap * 0.62, Qt::SolidLine, Qt::RoundCap);
    painter.setPen(pen);
    for (int i = 0; i < 6; ++i) {
        const double x = square.left() + gap * (i + 0.5);
        const double half = square.height() * 0.42 * heights[i];
        painter.drawLine(QPointF(x, square.center().y() - half), QPointF(x, square.center().y() + half));
    }
}

void drawBusy(QPainter& painter, const QRectF& square)
{
    const double stroke = square.width() * 0.09;
    painter.setPen(QPen(symbolInk, stroke));
    painter.setBrush(Qt::NoBrush);
    const QRectF ring = square.adjusted(stroke, stroke, -stroke, -stroke);
    painter.drawEllipse(ring);
    painter.setPen(Qt::NoPen);
    painter.setBrush(symbolInk);
    const double dot = square.width() * 0.13;
    for (int i = -1; i <= 1; ++i)
        painter.drawEllipse(QPointF(ring.center().x() + i * ring.width() * 0.27, ring.center().y()), dot / 2,
                            dot / 2);
}

// An arrow up, white on a disc of fill.
void drawBadge(QPainter& painter, const QRectF& square, const QBrush& fill)
{
    painter.setPen(Qt::NoPen);
    painter.setBrush(fill);
    painter.drawEllipse(square);
    const QRectF inner = square.adjusted(square.width() * 0.22, square.height() * 0.2, -square.width() * 0.22,
                                         -square.height() * 0.2);
    const double w = inner.width();
    QPainterPath arrow;
    arrow.moveTo(inner.center().x(), inner.top());
    arrow.lineTo(inner.right(), inner.top() + w * 0.5);
    arrow.lineTo(inner.left() + w * 0.65, inner.top() + w * 0.5);
    arrow.lineTo(inner.left() + w * 0.65, inner.bottom());
    arrow.lineTo(inner.left() + w * 0.35, inner.bottom());
    arrow.lineTo(inner.left() + w * 0.35, inner.top() + w * 0.5);
    arrow.lineTo(inner.left(), inner.top() + w * 0.5);
    arrow.closeSubpath();
    painter.setBrush(symbolInk);
    painter.drawPath(arrow);
}

} // namespace

QColor StatusIconArt::tint()
{
    return QColor(0xff, 0x95, 0x00);
}

QImage StatusIconArt::draw(const StatusIconLook& look, qreal scale)
{
    const QSizeF size(look.badge ? 24 : 18, 18);
    QImage image((size * scale).toSize(), QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(scale);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const double side = look.badge ? 14 : 16;
    const QRectF tile(0, (size.height() - side) / 2, side, side);
    const QBrush fill = look.tinted ? QBrush(tint()) : QBrush(Theme::gradient(tile));
    painter.fillPath(KitPaint::rounded(tile, side * 0.24), fill);
    const QRectF square = tile.adjusted(side * 0.18, side * 0.18, -side * 0.18, -side * 0.18);
    if (look.symbol == StatusIconLook::Symbol::Busy)
        drawBusy(painter, square);
    else
        drawWaveform(painter, square);
    if (look.badge)
        drawBadge(painter, QRectF(size.width() - 9, 0.5, 8.5, 8.5),
                  look.tinted ? QBrush(tint()) : QBrush(Theme::violet()));
    return image;
}
