#include "ui/overlay/cards/card_icon_button.h"

#include "ui/kit/theme.h"

#include <QPainter>

namespace {
constexpr int kSymbolPoints = 9;
}

CardIconButton::CardIconButton(Symbol symbol, double opacity, QWidget* parent)
    : QAbstractButton(parent)
    , m_symbol(symbol)
    , m_opacity(opacity)
{
    setFixedSize(side, side);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::NoFocus);
}

void CardIconButton::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(Theme::white(isDown() ? 0.16 : 0.08));
    p.drawEllipse(QRectF(rect()));
    const qreal dpr = devicePixelRatioF();
    const QSize device = (QSizeF(kSymbolPoints, kSymbolPoints) * dpr).toSize();
    if (m_image.size() != device) {
        m_image = SymbolArt::tinted(m_symbol, device, Theme::white(m_opacity));
        m_image.setDevicePixelRatio(dpr);
    }
    const double offset = (side - kSymbolPoints) / 2.0;
    p.drawImage(QPointF(offset, offset), m_image);
}
