#pragma once

#include <QMargins>
#include <QPixmap>
#include <QRectF>

#include <array>
#include <map>
#include <tuple>

class QPainter;

// The outline a soft shadow follows: a capsule for bars, radius 14 for menus and cards.
enum class SoftShadowStyle { Bar, Menu };

// Three stacked blurred shadows behind a shape. One QGraphicsDropShadowEffect gives only one
// layer, so the layers are blurred once per size into a pixmap that later frames reuse.
class SoftShadow final {
public:
    struct Layer {
        double opacity;
        double blur;
        double offsetY;
    };
    // Drawn in this order, the first lowest.
    static constexpr std::array<Layer, 3> layers{{{0.26, 0.6, 0.5}, {0.14, 2.5, 1.5}, {0.16, 7.0, 4.0}}};

    explicit SoftShadow(SoftShadowStyle style);

    // Paints the shadow of shape (in the painter's coordinates) behind whatever is drawn next.
    void paint(QPainter& painter, const QRectF& shape) const;
    // How far the shadow reaches past the shape on each side, so hosts leave room for it.
    static QMargins reach();
    // The shadow of a shape of this size: the image is larger than size by reach().
    QPixmap pixmap(QSize size, qreal devicePixelRatio) const;
    // Pixmaps blurred so far and still kept.
    int cachedCount() const { return static_cast<int>(m_cache.size()); }
    SoftShadowStyle style() const { return m_style; }

private:
    QPixmap render(QSize size, qreal devicePixelRatio) const;

    SoftShadowStyle m_style;
    mutable std::map<std::tuple<int, int, int>, QPixmap> m_cache;
};
