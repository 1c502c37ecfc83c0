#include "ui/kit/soft_shadow.h"

#include "ui/kit/alpha_blur.h"

#include <QImage>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {

// A blur radius reads as two standard deviations of a Gaussian, so the widest layer fades out
// about 10 points past its shape, inside the widget's 10-point margin.
double sigmaOf(double blur)
{
    return blur / 2;
}

// A morph passes through many sizes; beyond this many the oldest sizes are dropped.
constexpr std::size_t kCacheLimit = 24;

} // namespace

SoftShadow::SoftShadow(SoftShadowStyle style)
    : m_style(style)
{
}

QMargins SoftShadow::reach()
{
    double side = 0;
    double top = 0;
    double bottom = 0;
    for (const Layer& layer : layers) {
        const double spread = 3 * sigmaOf(layer.blur);
        side = std::max(side, spread);
        top = std::max(top, spread - layer.offsetY);
        bottom = std::max(bottom, spread + layer.offsetY);
    }
    const int s = static_cast<int>(std::ceil(side));
    return QMargins(s, static_cast<int>(std::ceil(std::max(0.0, top))), s,
                    static_cast<int>(std::ceil(bottom)));
}

void SoftShadow::paint(QPainter& painter, const QRectF& shape) const
{
    const QSize size = shape.size().toSize();
    if (size.isEmpty())
        return;
    const QMargins m = reach();
    painter.drawPixmap(QPointF(shape.x() - m.left(), shape.y() - m.top()),
                       pixmap(size, painter.device() ? painter.device()->devicePixelRatioF() : 1.0));
}

QPixmap SoftShadow::pixmap(QSize size, qreal devicePixelRatio) const
{
    const auto key = std::make_tuple(size.width(), size.height(), qRound(devicePixelRatio * 100));
    if (const auto it = m_cache.find(key); it != m_cache.end())
        return it->second;
    if (m_cache.size() >= kCacheLimit)
        m_cache.clear();
    return m_cache.emplace(key, render(size, devicePixelRatio)).first->second;
}

QPixmap SoftShadow::render(QSize size, qreal devicePixelRatio) const
{
    const QMargins m = reach();
    const QSize logical = size.grownBy(m);
    const QSize device = (QSizeF(logical) * devicePixelRatio).toSize();
    QImage out(device, QImage::Format_ARGB32_Premultiplied);
    out.fill(Qt::transparent);
    const QRectF shape(QPointF(m.left(), m.top()), QSizeF(size));
    const double radius = m_style == SoftShadowStyle::Bar ? std::min(999.0, shape.height() / 2) : 14.0;
    QPainter result(&out);
    for (const Layer& layer : layers) {
        const double r = std::min({radius, shape.width() / 2, shape.height() / 2});
        const QImage alpha =
            AlphaBlur::roundedRect(device, devicePixelRatio, shape.translated(0, layer.offsetY), r,
                                   sigmaOf(layer.blur) * devicePixelRatio);
        result.setOpacity(layer.opacity);
        result.drawImage(0, 0, alpha);
    }
    result.end();
    QPixmap pixmap = QPixmap::fromImage(out);
    pixmap.setDevicePixelRatio(devicePixelRatio);
    return pixmap;
}
