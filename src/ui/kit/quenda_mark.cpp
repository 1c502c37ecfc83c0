#include "ui/kit/quenda_mark.h"

#include "ui/kit/kit_paint.h"
#include "ui/kit/theme.h"

#include <QPainter>

#include <cmath>

QuendaMark::QuendaMark(double size, QWidget* parent)
    : QWidget(parent)
    , m_size(size)
{
    setFixedSize(sizeHint());
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

QSize QuendaMark::sizeHint() const
{
    const int room = int(std::ceil(shadowRadius() + shadowOffset()));
    return {int(std::ceil(m_size)) + 2 * room, int(std::ceil(m_size)) + 2 * room};
}

QRectF QuendaMark::square() const
{
    return {QRectF(rect()).center() - QPointF(m_size / 2, m_size / 2), QSizeF(m_size, m_size)};
}

void QuendaMark::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF box = square();
    const QPainterPath shape = KitPaint::rounded(box, cornerRadius());
    QColor glow = Theme::violet();
    glow.setAlphaF(0.35f);
    KitPaint::shadow(p, shape, glow, shadowRadius(), shadowOffset());
    p.fillPath(shape, Theme::gradient(box));
    const double g = glyphSize();
    KitPaint::symbol(p, Symbol::Waveform, QRectF(box.center() - QPointF(g / 2, g / 2), QSizeF(g, g)),
                     Qt::white);
}
