#include "ui/kit/symbol.h"

#include <QIcon>
#include <QPainter>

#include <cmath>
#include <numbers>

QString SymbolArt::themeName(Symbol symbol)
{
    switch (symbol) {
    case Symbol::Stop:
        return QStringLiteral("media-playback-stop-symbolic");
    case Symbol::CheckCircle:
        return QStringLiteral("emblem-ok-symbolic");
    case Symbol::Clipboard:
        return QStringLiteral("edit-paste-symbolic");
    case Symbol::Warning:
        return QStringLiteral("dialog-warning-symbolic");
    case Symbol::Info:
        return QStringLiteral("dialog-information-symbolic");
    case Symbol::Sparkles:
        return {};
    }
    return {};
}

namespace {

// A four-pointed star with concave sides, centred at c.
void addSparkle(QPainterPath& path, QPointF c, double r)
{
    const double waist = r * 0.28;
    path.moveTo(c.x(), c.y() - r);
    path.quadTo(c.x() + waist * 0.35, c.y() - waist * 0.35, c.x() + r, c.y());
    path.quadTo(c.x() + waist * 0.35, c.y() + waist * 0.35, c.x(), c.y() + r);
    path.quadTo(c.x() - waist * 0.35, c.y() + waist * 0.35, c.x() - r, c.y());
    path.quadTo(c.x() - waist * 0.35, c.y() - waist * 0.35, c.x(), c.y() - r);
    path.closeSubpath();
}

} // namespace

QPainterPath SymbolArt::path(Symbol symbol, const QRectF& box)
{
    const double s = std::min(box.width(), box.height());
    const QRectF b(box.center() - QPointF(s / 2, s / 2), QSizeF(s, s));
    const auto at = [&](double x, double y) { return QPointF(b.x() + x * s, b.y() + y * s); };
    QPainterPath p;
    p.setFillRule(Qt::OddEvenFill);
    switch (symbol) {
    case Symbol::Stop:
        p.addRoundedRect(QRectF(at(0.15, 0.15), at(0.85, 0.85)), s * 0.12, s * 0.12);
        break;
    case Symbol::CheckCircle: {
        p.addEllipse(b);
        QPainterPath tick;
        tick.moveTo(at(0.27, 0.52));
        tick.lineTo(at(0.43, 0.68));
        tick.lineTo(at(0.74, 0.35));
        QPainterPathStroker stroker;
        stroker.setWidth(s * 0.11);
        stroker.setCapStyle(Qt::RoundCap);
        stroker.setJoinStyle(Qt::RoundJoin);
        p.addPath(stroker.createStroke(tick));
        break;
    }
    case Symbol::Clipboard:
        p.addRoundedRect(QRectF(at(0.15, 0.12), at(0.85, 0.98)), s * 0.1, s * 0.1);
        p.addRoundedRect(QRectF(at(0.34, 0.02), at(0.66, 0.2)), s * 0.06, s * 0.06);
        p.addRect(QRectF(at(0.3, 0.42), at(0.7, 0.5)));
        p.addRect(QRectF(at(0.3, 0.62), at(0.6, 0.7)));
        break;
    case Symbol::Warning: {
        QPainterPath triangle;
        triangle.moveTo(at(0.5, 0.05));
        triangle.lineTo(at(0.97, 0.92));
        triangle.lineTo(at(0.03, 0.92));
        triangle.closeSubpath();
        p.addPath(triangle);
        p.addRoundedRect(QRectF(at(0.45, 0.32), at(0.55, 0.64)), s * 0.04, s * 0.04);
        p.addEllipse(QRectF(at(0.445, 0.71), at(0.555, 0.82)));
        break;
    }
    case Symbol::Info:
        p.addEllipse(b);
        p.addEllipse(QRectF(at(0.44, 0.2), at(0.56, 0.32)));
        p.addRoundedRect(QRectF(at(0.445, 0.4), at(0.555, 0.8)), s * 0.04, s * 0.04);
        break;
    case Symbol::Sparkles:
        p.setFillRule(Qt::WindingFill);
        addSparkle(p, at(0.42, 0.58), s * 0.4);
        addSparkle(p, at(0.8, 0.2), s * 0.18);
        addSparkle(p, at(0.82, 0.82), s * 0.12);
        break;
    }
    return p;
}

QImage SymbolArt::mask(Symbol symbol, QSize size, bool preferTheme)
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    if (size.isEmpty())
        return image;
    const QString name = themeName(symbol);
    if (preferTheme && !name.isEmpty() && QIcon::hasThemeIcon(name)) {
        const QPixmap icon = QIcon::fromTheme(name).pixmap(size);
        if (!icon.isNull()) {
            QPainter p(&image);
            p.drawPixmap(QRect(QPoint(0, 0), size), icon);
            return image;
        }
    }
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillPath(path(symbol, QRectF(QPointF(0, 0), QSizeF(size))), Qt::black);
    return image;
}

QImage SymbolArt::tinted(Symbol symbol, QSize size, const QBrush& brush, bool preferTheme)
{
    QImage image = mask(symbol, size, preferTheme);
    QPainter p(&image);
    p.setCompositionMode(QPainter::CompositionMode_SourceIn);
    p.fillRect(image.rect(), brush);
    return image;
}
