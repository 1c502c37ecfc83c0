#include "ui/kit/key_cap.h"

#include "ui/kit/kit_font.h"
#include "ui/kit/kit_paint.h"
#include "ui/kit/scheme.h"
#include "ui/kit/theme.h"

#include <QFontMetricsF>
#include <QPainter>

#include <cmath>

namespace {

QFont capFont()
{
    return KitFont::of(TextRole::BodyStrong, KitFont::Design::Rounded);
}

} // namespace

KeyCap::KeyCap(const QString& label, bool onDark, QWidget* parent)
    : QWidget(parent)
    , m_label(label)
    , m_onDark(onDark)
{
    setFixedSize(sizeHint());
    setAccessibleName(label);
}

KeyCap::Look KeyCap::look() const
{
    if (m_onDark)
        return {Theme::white(0.22), Theme::white(0.35), QColor::fromRgbF(0, 0, 0, 0.15f)};
    return {Scheme::primary(palette(), 0.07), Scheme::primary(palette(), 0.12),
            QColor::fromRgbF(0, 0, 0, 0.06f)};
}

QSize KeyCap::sizeHint() const
{
    const QFontMetricsF metrics(capFont());
    // Two more below for the key's lower edge.
    return {int(std::ceil(metrics.horizontalAdvance(m_label))) + 18,
            int(std::ceil(metrics.height())) + 8 + 2};
}

void KeyCap::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const Look colours = look();
    const QRectF box = QRectF(rect()).adjusted(0, 0, 0, -2);
    const QPainterPath shape = KitPaint::rounded(box, 7);
    p.fillPath(shape.translated(0, 1.5), colours.shadow);
    p.fillPath(shape, m_onDark ? colours.fill : Scheme::over(colours.fill, Theme::cardFill(palette())));
    p.setPen(QPen(colours.border, 1));
    p.drawPath(KitPaint::rounded(box.adjusted(0.5, 0.5, -0.5, -0.5), 6.5));
    p.setFont(capFont());
    p.setPen(m_onDark ? QColor(Qt::white) : Scheme::text(palette(), Scheme::Text::Primary));
    p.drawText(box, Qt::AlignCenter, m_label);
}
