#include "ui/kit/soft_shadow.h"

#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

// A blur radius reads as two standard deviations of a Gaussian, so the widest layer fades out
// about 10 points past its shape, inside the widget's 10-point margin.
double sigmaOf(double blur)
{
    return blur / 2;
}

// A morph passes through many sizes; beyond this many the oldest sizes are dropped.
constexpr std::size_t kCacheLimit = 24;

// Box widths whose three passes approximate a Gaussian of sigma (the usual three-box method).
std::array<int, 3> boxesFor(double sigma)
{
    const double ideal = std::sqrt(12 * sigma * sigma / 3 + 1);
    int lower = static_cast<int>(std::floor(ideal));
    if (lower % 2 == 0)
        --lower;
    const int upper = lower + 2;
    const double m =
        std::round((12 * sigma * sigma - 3.0 * lower * lower - 12.0 * lower - 9) / (-4.0 * lower - 4));
    std::array<int, 3> boxes{};
    for (int i = 0; i < 3; ++i)
        boxes[static_cast<std::size_t>(i)] = i < m ? lower : upper;
    return boxes;
}

// One box pass along rows (step 1) or columns (step = stride) of an 8-bit alpha plane.
void boxPass(std::vector<quint8>& from, std::vector<quint8>& to, int lines, int length, int lineStep,
             int step, int radius)
{
    const int width = 2 * radius + 1;
    for (int line = 0; line < lines; ++line) {
        const qsizetype base = static_cast<qsizetype>(line) * lineStep;
        auto at = [&](int i) -> int {
            if (i < 0 || i >= length)
                return 0;
            return from[static_cast<std::size_t>(base + static_cast<qsizetype>(i) * step)];
        };
        int sum = 0;
        for (int i = -radius; i <= radius; ++i)
            sum += at(i);
        for (int i = 0; i < length; ++i) {
            to[static_cast<std::size_t>(base + static_cast<qsizetype>(i) * step)] =
                static_cast<quint8>((sum + width / 2) / width);
            sum += at(i + radius + 1) - at(i - radius);
        }
    }
}

void blurAlpha(QImage& alpha, double sigma)
{
    if (sigma < 0.2)
        return;
    const int w = alpha.width();
    const int h = alpha.height();
    std::vector<quint8> a(static_cast<std::size_t>(w) * h);
    for (int y = 0; y < h; ++y)
        std::copy_n(alpha.constScanLine(y), w, a.begin() + static_cast<qsizetype>(y) * w);
    std::vector<quint8> b(a.size());
    for (const int box : boxesFor(sigma)) {
        const int radius = (box - 1) / 2;
        boxPass(a, b, h, w, w, 1, radius);
        boxPass(b, a, w, h, 1, w, radius);
    }
    for (int y = 0; y < h; ++y)
        std::copy_n(a.begin() + static_cast<qsizetype>(y) * w, w, alpha.scanLine(y));
}

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
        QImage alpha(device, QImage::Format_Alpha8);
        alpha.fill(0);
        {
            QPainter p(&alpha);
            p.setRenderHint(QPainter::Antialiasing);
            p.scale(devicePixelRatio, devicePixelRatio);
            QPainterPath path;
            const double r = std::min({radius, shape.width() / 2, shape.height() / 2});
            path.addRoundedRect(shape.translated(0, layer.offsetY), r, r);
            p.fillPath(path, Qt::black);
        }
        blurAlpha(alpha, sigmaOf(layer.blur) * devicePixelRatio);
        result.setOpacity(layer.opacity);
        result.drawImage(0, 0, alpha);
    }
    result.end();
    QPixmap pixmap = QPixmap::fromImage(out);
    pixmap.setDevicePixelRatio(devicePixelRatio);
    return pixmap;
}
