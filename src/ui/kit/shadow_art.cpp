#include "ui/kit/shadow_art.h"

#include "ui/kit/alpha_blur.h"

#include <QImage>
#include <QPainter>
#include <QPixmap>

#include <array>
#include <cmath>
#include <map>
#include <tuple>

namespace {

// A blur radius reads as two standard deviations of a Gaussian, which fades out at three.
int spreadOf(const ShadowLook& look)
{
    return int(std::ceil(1.5 * look.blur));
}

// How far inside the shape the shadow along an edge no longer changes: past the corner, the blur
// and the offset.
int insetOf(const ShadowLook& look)
{
    return int(std::ceil(look.corner)) + spreadOf(look) + int(std::ceil(std::abs(look.offsetY)));
}

struct Art {
    QPixmap pixmap;
    // The side of the square shape the picture was blurred from: two insets and a middle of two.
    int side;
};

Art render(const ShadowLook& look, qreal ratio)
{
    const QMargins m = ShadowArt::reach(look);
    const int side = 2 * insetOf(look) + 2;
    const QSize logical = QSize(side, side).grownBy(m);
    const QSize device = (QSizeF(logical) * ratio).toSize();
    const QImage alpha =
        AlphaBlur::roundedRect(device, ratio, QRectF(m.left(), m.top() + look.offsetY, side, side),
                               look.corner, look.blur / 2 * ratio);
    QImage tinted(device, QImage::Format_ARGB32_Premultiplied);
    QColor opaque = look.colour;
    opaque.setAlpha(255);
    tinted.fill(opaque);
    {
        QPainter p(&tinted);
        p.setCompositionMode(QPainter::CompositionMode_DestinationIn);
        p.drawImage(0, 0, alpha);
    }
    QPixmap pixmap = QPixmap::fromImage(tinted);
    pixmap.setDevicePixelRatio(ratio);
    return {pixmap, side};
}

using Key = std::tuple<int, int, int, QRgb, int>;

// Cards, style cards and their chosen colour: a handful of looks per screen density.
std::map<Key, Art>& cache()
{
    static std::map<Key, Art> kept;
    return kept;
}

const Art& artFor(const ShadowLook& look, qreal ratio)
{
    const Key key{qRound(look.corner * 100), qRound(look.blur * 100), qRound(look.offsetY * 100),
                  look.colour.rgb(), qRound(ratio * 100)};
    std::map<Key, Art>& kept = cache();
    if (const auto it = kept.find(key); it != kept.end())
        return it->second;
    constexpr std::size_t limit = 16;
    if (kept.size() >= limit)
        kept.clear();
    return kept.emplace(key, render(look, ratio)).first->second;
}

// Three spans along one axis: the picture's edges at (from, from + inset), its middle stretched,
// and the far edge; `near` and `far` are the reach past the shape.
std::array<int, 4> cuts(int from, int length, int inset, int near, int far)
{
    return {from - near, from + inset, from + length - inset, from + length + far};
}

} // namespace

QMargins ShadowArt::reach(const ShadowLook& look)
{
    const int spread = spreadOf(look);
    return QMargins(spread, std::max(0, int(std::ceil(spread - look.offsetY))), spread,
                    std::max(0, int(std::ceil(spread + look.offsetY))));
}

void ShadowArt::paint(QPainter& painter, const QRectF& shape, const ShadowLook& look)
{
    const QRect box = shape.toRect();
    if (look.colour.alpha() == 0 || box.isEmpty())
        return;
    const qreal ratio = painter.device() ? painter.device()->devicePixelRatioF() : 1.0;
    const Art& art = artFor(look, ratio);
    const QMargins m = reach(look);
    const int inset = insetOf(look);
    // A shape smaller than the picture's corners takes each half from its own side.
    const int insetX = std::min(inset, box.width() / 2);
    const int insetY = std::min(inset, box.height() / 2);
    const std::array<int, 4> x = cuts(box.x(), box.width(), insetX, m.left(), m.right());
    const std::array<int, 4> y = cuts(box.y(), box.height(), insetY, m.top(), m.bottom());
    const std::array<int, 4> sx = cuts(m.left(), art.side, insetX, m.left(), m.right());
    const std::array<int, 4> sy = cuts(m.top(), art.side, insetY, m.top(), m.bottom());
    painter.save();
    painter.setOpacity(painter.opacity() * look.colour.alphaF());
    // Edges stretch only along themselves, where the picture does not change: no smoothing needed.
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    for (std::size_t row = 0; row < 3; ++row) {
        for (std::size_t column = 0; column < 3; ++column) {
            const QRectF target(QPointF(x[column], y[row]), QPointF(x[column + 1], y[row + 1]));
            const QRectF source(QPointF(sx[column], sy[row]) * ratio,
                                QPointF(sx[column + 1], sy[row + 1]) * ratio);
            // The middle lies wholly under the shape.
            if (row == 1 && column == 1)
                continue;
            if (target.width() > 0 && target.height() > 0)
                painter.drawPixmap(target, art.pixmap, source);
        }
    }
    painter.restore();
}

int ShadowArt::cachedCount()
{
    return int(cache().size());
}
