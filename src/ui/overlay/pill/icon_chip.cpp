#include "ui/overlay/pill/icon_chip.h"

#include <QPainter>

namespace {
constexpr int kSymbolPoints = 11;
} // namespace

IconChip::IconChip(Symbol symbol, const QString& accessibleName, const QColor& tint, QWidget* parent)
    : KitButton(parent)
    , m_tint(tint)
{
    setSymbol(symbol);
    setAccessibleName(accessibleName);
    setFixedSize(side, side);
    // The overlay never takes the keyboard focus from the field the text goes into.
    setFocusPolicy(Qt::NoFocus);
}

void IconChip::setFill(const QBrush& fill)
{
    m_fill = fill;
    update();
}

void IconChip::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    paintCircle(p, m_fill);
    const qreal dpr = devicePixelRatioF();
    const QSize device = (QSizeF(kSymbolPoints, kSymbolPoints) * dpr).toSize();
    if (m_image.size() != device) {
        m_image = SymbolArt::tinted(*symbol(), device, m_tint);
        m_image.setDevicePixelRatio(dpr);
    }
    const double offset = (side - kSymbolPoints) / 2.0;
    p.drawImage(QPointF(offset, offset), m_image);
}
