#include "ui/shell/status_icon_art.h"

#include <QPainter>
#include <QPainterPath>

namespace {

void drawWaveform(QPainter& painter, const QRectF& square)
{
    static constexpr double heights[] = {0.30, 0.65, 1.0, 0.55, 0.80, 0.35};
    const double gap = square.width() / 6.0;
    QPen pen(StatusIconArt::ink(), gap * 0.62, Qt::SolidLine, Qt::RoundCap);
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
    painter.setPen(QPen(StatusIconArt::ink(), stroke));
    painter.setBrush(Qt::NoBrush);
    const QRectF ring = square.adjusted(stroke, stroke, -stroke, -stroke);
    painter.drawEllipse(ring);
    painter.setPen(Qt::NoPen);
    painter.setBrush(StatusIconArt::ink());
    const double dot = square.width() * 0.13;
    for (int i = -1; i <= 1; ++i)
        painter.drawEllipse(QPointF(ring.center().x() + i * ring.width() * 0.27, ring.center().y()), dot / 2,
                            dot / 2);
}

void drawBadge(QPainter& painter, const QRectF& square)
{
    painter.setPen(Qt::NoPen);
    painter.setBrush(StatusIconArt::ink());
    QPainterPath arrow;
    const double w = square.width();
    arrow.moveTo(square.center().x(), square.top());
    arrow.lineTo(square.right(), square.top() + w * 0.5);
    arrow.lineTo(square.left() + w * 0.65, square.top() + w * 0.5);
    arrow.lineTo(square.left() + w * 0.65, square.bottom());
    arrow.lineTo(square.left() + w * 0.35, square.bottom());
    arrow.lineTo(square.left() + w * 0.35, square.top() + w * 0.5);
    arrow.lineTo(square.left(), square.top() + w * 0.5);
    arrow.closeSubpath();
    painter.drawPath(arrow);
}

} // namespace

QColor StatusIconArt::tint()
{
    return QColor(0xff, 0x95, 0x00);
}

QColor StatusIconArt::ink()
{
    // Readable on the light and the dark panels of the common desktops.
    return QColor(0xb8, 0xb8, 0xb8);
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
    const QRectF square(0, (size.height() - side) / 2, side, side);
    if (look.symbol == StatusIconLook::Symbol::Busy)
        drawBusy(painter, square);
    else
        drawWaveform(painter, square);
    if (look.badge)
        drawBadge(painter, QRectF(size.width() - 9, 1, 8, 8));
    if (look.tinted) {
        painter.setCompositionMode(QPainter::CompositionMode_SourceAtop);
        painter.fillRect(QRectF(QPointF(0, 0), size), tint());
    }
    return image;
}
