#include "ui/overlay/cards/card_icon_button.h"

#include "core/text/l10n.h"
#include "ui/kit/theme.h"

#include <QPainter>

namespace {
constexpr int kSymbolPoints = 9;
} // namespace

CardIconButton::CardIconButton(Symbol symbol, const QString& accessibleName, double opacity, QWidget* parent)
    : KitButton(parent)
    , m_opacity(opacity)
{
    setSymbol(symbol);
    setAccessibleName(accessibleName);
    setFixedSize(side, side);
    // The overlay never takes the keyboard focus from the field the text goes into.
    setFocusPolicy(Qt::NoFocus);
}

CardIconButton* CardIconButton::close(QWidget* parent)
{
    return new CardIconButton(Symbol::Close, L10n::s(QStringLiteral("overlay.close")), 0.45, parent);
}

void CardIconButton::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    paintCircle(p);
    const qreal dpr = devicePixelRatioF();
    const QSize device = (QSizeF(kSymbolPoints, kSymbolPoints) * dpr).toSize();
    if (m_image.size() != device) {
        m_image = SymbolArt::tinted(*symbol(), device, Theme::white(m_opacity));
        m_image.setDevicePixelRatio(dpr);
    }
    const double offset = (side - kSymbolPoints) / 2.0;
    p.drawImage(QPointF(offset, offset), m_image);
}
