#include "ui/kit/symbol.h"

#include <QHash>
#include <QIcon>
#include <QPainter>

#include <array>
#include <cmath>
#include <initializer_list>
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
    case Symbol::Close:
        return QStringLiteral("window-close-symbolic");
    case Symbol::Copy:
        return QStringLiteral("edit-copy-symbolic");
    case Symbol::Check:
        return QStringLiteral("object-select-symbolic");
    case Symbol::Microphone:
        return QStringLiteral("audio-input-microphone-symbolic");
    case Symbol::ChevronUp:
        return QStringLiteral("go-up-symbolic");
    case Symbol::ChevronDown:
        return QStringLiteral("go-down-symbolic");
    case Symbol::Gear:
        return QStringLiteral("emblem-system-symbolic");
    case Symbol::ArrowRight:
        return QStringLiteral("go-next-symbolic");
    case Symbol::House:
        return QStringLiteral("go-home-symbolic");
    case Symbol::Clock:
        return QStringLiteral("document-open-recent-symbolic");
    case Symbol::Pen:
        return QStringLiteral("document-edit-symbolic");
    case Symbol::Accessibility:
        return QStringLiteral("preferences-desktop-accessibility-symbolic");
    case Symbol::Search:
        return QStringLiteral("edit-find-symbolic");
    case Symbol::ClearCircle:
        return QStringLiteral("edit-clear-symbolic");
    case Symbol::Trash:
        return QStringLiteral("user-trash-symbolic");
    case Symbol::Envelope:
        return QStringLiteral("mail-unread-symbolic");
    case Symbol::Globe:
        return QStringLiteral("globe-symbolic");
    case Symbol::Plus:
        return QStringLiteral("list-add-symbolic");
    case Symbol::Power:
        return QStringLiteral("system-shutdown-symbolic");
    case Symbol::Waveform:
    case Symbol::Wand:
    case Symbol::Wrench:
    case Symbol::Sparkles:
    case Symbol::Book:
    case Symbol::Note:
    case Symbol::NoteAdd:
    case Symbol::Insert:
    case Symbol::Swap:
    case Symbol::TextCheck:
    case Symbol::Quote:
    case Symbol::Chat:
    case Symbol::ListBullet:
    case Symbol::Code:
    case Symbol::Circle:
    case Symbol::TextBubble:
    case Symbol::AppWindow:
    case Symbol::App:
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

// Lines of width w with round ends, through the given points in turn.
QPainterPath stroked(std::initializer_list<QPointF> points, double w)
{
    QPainterPath line;
    bool first = true;
    for (const QPointF& point : points) {
        if (first)
            line.moveTo(point);
        else
            line.lineTo(point);
        first = false;
    }
    QPainterPathStroker stroker;
    stroker.setWidth(w);
    stroker.setCapStyle(Qt::RoundCap);
    stroker.setJoinStyle(Qt::RoundJoin);
    return stroker.createStroke(line);
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
    case Symbol::Close:
        p.setFillRule(Qt::WindingFill);
        p.addPath(stroked({at(0.2, 0.2), at(0.8, 0.8)}, s * 0.16));
        p.addPath(stroked({at(0.8, 0.2), at(0.2, 0.8)}, s * 0.16));
        break;
    case Symbol::Copy:
        p.setFillRule(Qt::WindingFill);
        p.addPath(stroked({at(0.3, 0.1), at(0.9, 0.1), at(0.9, 0.7), at(0.3, 0.7), at(0.3, 0.1)}, s * 0.1));
        p.addPath(stroked({at(0.1, 0.3), at(0.1, 0.9), at(0.7, 0.9)}, s * 0.1));
        break;
    case Symbol::Check:
        p.addPath(stroked({at(0.15, 0.55), at(0.4, 0.8), at(0.85, 0.25)}, s * 0.15));
        break;
    case Symbol::Microphone:
        p.setFillRule(Qt::WindingFill);
        p.addRoundedRect(QRectF(at(0.35, 0.05), at(0.65, 0.62)), s * 0.15, s * 0.15);
        p.addPath(
            stroked({at(0.2, 0.45), at(0.25, 0.62), at(0.5, 0.78), at(0.75, 0.62), at(0.8, 0.45)}, s * 0.08));
        p.addPath(stroked({at(0.5, 0.78), at(0.5, 0.95)}, s * 0.08));
        break;
    case Symbol::Book:
        p.addRoundedRect(QRectF(at(0.15, 0.05), at(0.85, 0.95)), s * 0.1, s * 0.1);
        p.addRect(QRectF(at(0.3, 0.05), at(0.36, 0.95)));
        p.addRect(QRectF(at(0.46, 0.3), at(0.72, 0.38)));
        break;
    case Symbol::ChevronUp:
        p.addPath(stroked({at(0.15, 0.68), at(0.5, 0.32), at(0.85, 0.68)}, s * 0.16));
        break;
    case Symbol::ChevronDown:
        p.addPath(stroked({at(0.15, 0.32), at(0.5, 0.68), at(0.85, 0.32)}, s * 0.16));
        break;
    case Symbol::Gear: {
        p.setFillRule(Qt::WindingFill);
        for (int i = 0; i < 8; ++i) {
            const double a = i * std::numbers::pi / 4;
            const QPointF dir(std::cos(a), std::sin(a));
            p.addPath(stroked({b.center() + dir * s * 0.3, b.center() + dir * s * 0.42}, s * 0.14));
        }
        QPainterPath ring;
        ring.addEllipse(b.center(), s * 0.33, s * 0.33);
        ring.addEllipse(b.center(), s * 0.13, s * 0.13);
        ring.setFillRule(Qt::OddEvenFill);
        p = p.united(ring);
        QPainterPath hole;
        hole.addEllipse(b.center(), s * 0.13, s * 0.13);
        p = p.subtracted(hole);
        break;
    }
    case Symbol::ArrowRight:
        p.setFillRule(Qt::WindingFill);
        p.addPath(stroked({at(0.12, 0.5), at(0.85, 0.5)}, s * 0.13));
        p.addPath(stroked({at(0.55, 0.2), at(0.85, 0.5), at(0.55, 0.8)}, s * 0.13));
        break;
    case Symbol::Note:
        p.addRoundedRect(QRectF(at(0.12, 0.05), at(0.88, 0.95)), s * 0.12, s * 0.12);
        p.addRect(QRectF(at(0.27, 0.3), at(0.73, 0.38)));
        p.addRect(QRectF(at(0.27, 0.48), at(0.73, 0.56)));
        p.addRect(QRectF(at(0.27, 0.66), at(0.55, 0.74)));
        break;
    case Symbol::NoteAdd:
        p.setFillRule(Qt::WindingFill);
        p.addPath(stroked({at(0.1, 0.1), at(0.65, 0.1)}, s * 0.1));
        p.addPath(stroked({at(0.1, 0.1), at(0.1, 0.9), at(0.5, 0.9)}, s * 0.1));
        p.addPath(stroked({at(0.75, 0.5), at(0.75, 0.95)}, s * 0.12));
        p.addPath(stroked({at(0.52, 0.72), at(0.98, 0.72)}, s * 0.12));
        break;
    case Symbol::Insert:
        p.setFillRule(Qt::WindingFill);
        p.addPath(stroked({at(0.5, 0.08), at(0.5, 0.7)}, s * 0.13));
        p.addPath(stroked({at(0.22, 0.45), at(0.5, 0.72), at(0.78, 0.45)}, s * 0.13));
        p.addPath(stroked({at(0.15, 0.92), at(0.85, 0.92)}, s * 0.13));
        break;
    case Symbol::Swap:
        p.setFillRule(Qt::WindingFill);
        p.addPath(stroked({at(0.1, 0.32), at(0.88, 0.32)}, s * 0.11));
        p.addPath(stroked({at(0.32, 0.1), at(0.1, 0.32), at(0.32, 0.54)}, s * 0.11));
        p.addPath(stroked({at(0.12, 0.7), at(0.9, 0.7)}, s * 0.11));
        p.addPath(stroked({at(0.68, 0.48), at(0.9, 0.7), at(0.68, 0.92)}, s * 0.11));
        break;
    case Symbol::TextCheck:
        p.setFillRule(Qt::WindingFill);
        p.addRect(QRectF(at(0.05, 0.15), at(0.7, 0.25)));
        p.addRect(QRectF(at(0.05, 0.4), at(0.55, 0.5)));
        p.addRect(QRectF(at(0.05, 0.65), at(0.35, 0.75)));
        p.addPath(stroked({at(0.5, 0.75), at(0.65, 0.9), at(0.95, 0.55)}, s * 0.12));
        break;
    case Symbol::Waveform: {
        p.setFillRule(Qt::WindingFill);
        constexpr std::array<double, 7> heights{0.22, 0.5, 0.82, 0.6, 0.9, 0.45, 0.25};
        for (size_t i = 0; i < heights.size(); ++i) {
            const double x = 0.08 + 0.14 * double(i);
            p.addPath(stroked({at(x, 0.5 - heights[i] / 2), at(x, 0.5 + heights[i] / 2)}, s * 0.09));
        }
        break;
    }
    case Symbol::House:
        p.setFillRule(Qt::WindingFill);
        p.addPath(stroked({at(0.08, 0.5), at(0.5, 0.1), at(0.92, 0.5)}, s * 0.11));
        p.addPath(stroked({at(0.22, 0.45), at(0.22, 0.9), at(0.78, 0.9), at(0.78, 0.45)}, s * 0.11));
        p.addRect(QRectF(at(0.42, 0.62), at(0.58, 0.9)));
        break;
    case Symbol::Wand:
        p.setFillRule(Qt::WindingFill);
        p.addPath(stroked({at(0.12, 0.88), at(0.62, 0.38)}, s * 0.12));
        addSparkle(p, at(0.74, 0.26), s * 0.22);
        addSparkle(p, at(0.3, 0.2), s * 0.1);
        break;
    case Symbol::Clock:
        p.setFillRule(Qt::WindingFill);
        p.addPath(stroked({at(0.5, 0.06), at(0.81, 0.19), at(0.94, 0.5), at(0.81, 0.81), at(0.5, 0.94),
                           at(0.19, 0.81), at(0.06, 0.5), at(0.19, 0.19), at(0.5, 0.06)},
                          s * 0.1));
        p.addPath(stroked({at(0.5, 0.26), at(0.5, 0.52), at(0.68, 0.64)}, s * 0.1));
        break;
    case Symbol::Pen:
        p.setFillRule(Qt::WindingFill);
        p.addPath(stroked({at(0.2, 0.8), at(0.78, 0.22)}, s * 0.18));
        p.addPath(stroked({at(0.12, 0.94), at(0.2, 0.8)}, s * 0.08));
        break;
    case Symbol::Power: {
        // A ring open at the top, and the stroke through its gap.
        p.setFillRule(Qt::WindingFill);
        QPainterPath ring;
        ring.arcMoveTo(QRectF(at(0.12, 0.16), at(0.88, 0.92)), 55);
        ring.arcTo(QRectF(at(0.12, 0.16), at(0.88, 0.92)), 55, -290);
        QPainterPathStroker stroker;
        stroker.setWidth(s * 0.11);
        stroker.setCapStyle(Qt::RoundCap);
        p.addPath(stroker.createStroke(ring));
        p.addPath(stroked({at(0.5, 0.06), at(0.5, 0.5)}, s * 0.11));
        break;
    }
    case Symbol::Wrench:
        p.setFillRule(Qt::WindingFill);
        p.addPath(stroked({at(0.15, 0.85), at(0.6, 0.4)}, s * 0.16));
        p.addEllipse(at(0.7, 0.3), s * 0.22, s * 0.22);
        p = p.subtracted([&] {
            QPainterPath notch;
            notch.addEllipse(at(0.8, 0.2), s * 0.12, s * 0.12);
            return notch;
        }());
        break;
    case Symbol::Accessibility:
        p.setFillRule(Qt::WindingFill);
        p.addEllipse(at(0.5, 0.13), s * 0.1, s * 0.1);
        p.addPath(stroked({at(0.12, 0.34), at(0.5, 0.4), at(0.88, 0.34)}, s * 0.1));
        p.addPath(stroked({at(0.5, 0.4), at(0.5, 0.62)}, s * 0.12));
        p.addPath(stroked({at(0.3, 0.94), at(0.5, 0.62), at(0.7, 0.94)}, s * 0.1));
        break;
    case Symbol::Search:
        p.setFillRule(Qt::WindingFill);
        p.addPath(stroked({at(0.4, 0.06), at(0.64, 0.16), at(0.74, 0.4), at(0.64, 0.64), at(0.4, 0.74),
                           at(0.16, 0.64), at(0.06, 0.4), at(0.16, 0.16), at(0.4, 0.06)},
                          s * 0.11));
        p.addPath(stroked({at(0.66, 0.66), at(0.92, 0.92)}, s * 0.14));
        break;
    case Symbol::ClearCircle:
        p.addEllipse(b);
        p.addPath(stroked({at(0.33, 0.33), at(0.67, 0.67)}, s * 0.11)
                      .united(stroked({at(0.67, 0.33), at(0.33, 0.67)}, s * 0.11)));
        break;
    case Symbol::Trash:
        p.setFillRule(Qt::WindingFill);
        p.addPath(stroked({at(0.1, 0.22), at(0.9, 0.22)}, s * 0.1));
        p.addPath(stroked({at(0.38, 0.22), at(0.38, 0.08), at(0.62, 0.08), at(0.62, 0.22)}, s * 0.09));
        p.addPath(stroked({at(0.2, 0.3), at(0.26, 0.92), at(0.74, 0.92), at(0.8, 0.3)}, s * 0.1));
        p.addPath(stroked({at(0.42, 0.42), at(0.43, 0.78)}, s * 0.08));
        p.addPath(stroked({at(0.58, 0.42), at(0.57, 0.78)}, s * 0.08));
        break;
    case Symbol::Quote:
        p.setFillRule(Qt::WindingFill);
        for (const double x : {0.12, 0.52}) {
            p.addEllipse(QRectF(at(x, 0.3), at(x + 0.3, 0.6)));
            p.addPath(stroked({at(x + 0.27, 0.48), at(x + 0.2, 0.72), at(x + 0.06, 0.82)}, s * 0.1));
        }
        break;
    case Symbol::Envelope:
        p.addRoundedRect(QRectF(at(0.06, 0.2), at(0.94, 0.8)), s * 0.08, s * 0.08);
        p.addRoundedRect(QRectF(at(0.14, 0.28), at(0.86, 0.72)), s * 0.03, s * 0.03);
        p.addPath(stroked({at(0.16, 0.3), at(0.5, 0.56), at(0.84, 0.3)}, s * 0.08));
        break;
    case Symbol::Chat:
        p.setFillRule(Qt::WindingFill);
        p.addRoundedRect(QRectF(at(0.04, 0.12), at(0.64, 0.56)), s * 0.12, s * 0.12);
        p.addPath(stroked({at(0.14, 0.5), at(0.1, 0.68), at(0.28, 0.54)}, s * 0.08));
        p.addRoundedRect(QRectF(at(0.4, 0.4), at(0.96, 0.8)), s * 0.12, s * 0.12);
        p.addPath(stroked({at(0.86, 0.76), at(0.9, 0.92), at(0.74, 0.78)}, s * 0.08));
        break;
    case Symbol::ListBullet:
        p.addRoundedRect(QRectF(at(0.04, 0.12), at(0.96, 0.88)), s * 0.12, s * 0.12);
        p.addRoundedRect(QRectF(at(0.12, 0.2), at(0.88, 0.8)), s * 0.06, s * 0.06);
        for (const double y : {0.36, 0.5, 0.64}) {
            p.addEllipse(at(0.27, y), s * 0.04, s * 0.04);
            p.addPath(stroked({at(0.38, y), at(0.74, y)}, s * 0.06));
        }
        break;
    case Symbol::Code:
        p.setFillRule(Qt::WindingFill);
        p.addPath(stroked({at(0.3, 0.24), at(0.06, 0.5), at(0.3, 0.76)}, s * 0.1));
        p.addPath(stroked({at(0.7, 0.24), at(0.94, 0.5), at(0.7, 0.76)}, s * 0.1));
        p.addPath(stroked({at(0.58, 0.16), at(0.42, 0.84)}, s * 0.1));
        break;
    case Symbol::Circle:
        p.addEllipse(b);
        p.addEllipse(b.adjusted(s * 0.09, s * 0.09, -s * 0.09, -s * 0.09));
        break;
    case Symbol::Globe:
        p.setFillRule(Qt::WindingFill);
        {
            QPainterPathStroker stroker;
            stroker.setWidth(s * 0.08);
            QPainterPath lines;
            lines.addEllipse(b.adjusted(s * 0.06, s * 0.06, -s * 0.06, -s * 0.06));
            lines.addEllipse(QRectF(at(0.3, 0.06), at(0.7, 0.94)));
            lines.moveTo(at(0.06, 0.5));
            lines.lineTo(at(0.94, 0.5));
            lines.moveTo(at(0.5, 0.06));
            lines.lineTo(at(0.5, 0.94));
            p.addPath(stroker.createStroke(lines));
        }
        break;
    case Symbol::TextBubble:
        p.addRoundedRect(QRectF(at(0.06, 0.1), at(0.94, 0.74)), s * 0.16, s * 0.16);
        p.addRoundedRect(QRectF(at(0.14, 0.18), at(0.86, 0.66)), s * 0.1, s * 0.1);
        p.addPath(stroked({at(0.3, 0.36), at(0.7, 0.36)}, s * 0.07));
        p.addPath(stroked({at(0.3, 0.5), at(0.58, 0.5)}, s * 0.07));
        p.addPath(stroked({at(0.26, 0.72), at(0.22, 0.92), at(0.44, 0.74)}, s * 0.08));
        break;
    case Symbol::AppWindow:
        p.addRoundedRect(QRectF(at(0.04, 0.14), at(0.96, 0.86)), s * 0.1, s * 0.1);
        p.addRoundedRect(QRectF(at(0.12, 0.32), at(0.88, 0.78)), s * 0.04, s * 0.04);
        break;
    case Symbol::App:
        p.addRoundedRect(QRectF(at(0.08, 0.08), at(0.92, 0.92)), s * 0.22, s * 0.22);
        p.addRoundedRect(QRectF(at(0.16, 0.16), at(0.84, 0.84)), s * 0.16, s * 0.16);
        break;
    case Symbol::Plus:
        p.addPath(stroked({at(0.5, 0.12), at(0.5, 0.88)}, s * 0.13)
                      .united(stroked({at(0.12, 0.5), at(0.88, 0.5)}, s * 0.13)));
        break;
    }
    return p;
}

namespace {

QImage drawMask(Symbol symbol, QSize size, bool preferTheme)
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    if (size.isEmpty())
        return image;
    const QString name = SymbolArt::themeName(symbol);
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
    p.fillPath(SymbolArt::path(symbol, QRectF(QPointF(0, 0), QSizeF(size))), Qt::black);
    return image;
}

} // namespace

QImage SymbolArt::mask(Symbol symbol, QSize size, bool preferTheme)
{
    // Views paint their symbols on every repaint: each mask is drawn once per size and theme.
    const QString key = QStringLiteral("%1/%2x%3/%4")
                            .arg(int(symbol))
                            .arg(size.width())
                            .arg(size.height())
                            .arg(preferTheme ? QIcon::themeName() : QString());
    static QHash<QString, QImage> drawn;
    const auto found = drawn.constFind(key);
    if (found != drawn.constEnd())
        return *found;
    constexpr qsizetype kept = 512;
    if (drawn.size() >= kept)
        drawn.clear();
    return *drawn.insert(key, drawMask(symbol, size, preferTheme));
}

QImage SymbolArt::tinted(Symbol symbol, QSize size, const QBrush& brush, bool preferTheme)
{
    QImage image = mask(symbol, size, preferTheme);
    QPainter p(&image);
    p.setCompositionMode(QPainter::CompositionMode_SourceIn);
    p.fillRect(image.rect(), brush);
    return image;
}
