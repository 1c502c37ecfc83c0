#include "ui/overlay/cards/choice_action_button.h"

#include "ui/kit/kit_font.h"
#include "ui/kit/theme.h"

#include <QFontMetrics>
#include <QPainter>

namespace {
constexpr int kSymbol = 10;
constexpr int kGap = 4;
constexpr int kPadX = 9;
constexpr int kPadY = 5;
} // namespace

ChoiceActionButton::ChoiceActionButton(const QString& title, Symbol symbol, bool primary, QWidget* parent)
    : QAbstractButton(parent)
    , m_symbol(symbol)
    , m_primary(primary)
{
    setFont(KitFont::of(TextRole::CaptionStrong));
    setText(title);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::NoFocus);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void ChoiceActionButton::setLook(const QString& title, Symbol symbol)
{
    if (title == text() && symbol == m_symbol)
        return;
    m_symbol = symbol;
    setText(title);
    updateGeometry();
    update();
}

QSize ChoiceActionButton::sizeHint() const
{
    const QFontMetrics metrics(font());
    return {kPadX + kSymbol + kGap + metrics.horizontalAdvance(text()) + kPadX,
            kPadY + std::max(kSymbol, metrics.height()) + kPadY};
}

void ChoiceActionButton::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    const QRectF shape(rect());
    if (m_primary)
        p.setBrush(Theme::gradient(shape));
    else
        p.setBrush(Theme::white(isDown() ? 0.2 : 0.12));
    p.drawRoundedRect(shape, shape.height() / 2, shape.height() / 2);
    const qreal dpr = devicePixelRatioF();
    QImage image = SymbolArt::tinted(m_symbol, (QSizeF(kSymbol, kSymbol) * dpr).toSize(), QColor(Qt::white));
    image.setDevicePixelRatio(dpr);
    p.drawImage(QPointF(kPadX, (height() - kSymbol) / 2.0), image);
    p.setPen(Qt::white);
    p.setFont(font());
    p.drawText(QRectF(kPadX + kSymbol + kGap, 0, width() - kPadX - kSymbol - kGap, height()),
               Qt::AlignLeft | Qt::AlignVCenter, text());
}
