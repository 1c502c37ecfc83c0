#include "ui/overlay/pill/icon_chip.h"

#include "ui/kit/theme.h"

#include <QPainter>

namespace {
constexpr int kSymbolPoints = 11;
}

IconChip::IconChip(Symbol symbol, const QColor& tint, QWidget* parent)
    : QAbstractButton(parent)
    , m_symbol(symbol)
    , m_tint(tint)
{
    setFixedSize(side, side);
    setCursor(Qt::PointingHandCursor);
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
    p.setPen(Qt::NoPen);
    if (!isEnabled())
        p.setOpacity(0.45);
    p.setBrush(m_fill ? *m_fill : QBrush(Theme::white(isDown() ? 0.16 : 0.08)));
    p.drawEllipse(QRectF(rect()));
    const qreal dpr = devicePixelRatioF();
    const QSize device = (QSizeF(kSymbolPoints, kSymbolPoints) * dpr).toSize();
    if (m_image.size() != device) {
        m_image = SymbolArt::tinted(m_symbol, device, m_tint);
        m_image.setDevicePixelRatio(dpr);
    }
    const double offset = (side - kSymbolPoints) / 2.0;
    p.drawImage(QPointF(offset, offset), m_image);
}
