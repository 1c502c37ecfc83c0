#include "ui/overlay/translate_toggle.h"

#include "ui/kit/symbol.h"
#include "ui/kit/theme.h"

#include <QPainter>

namespace {
constexpr int kBook = 10;
constexpr int kChevron = 8;
constexpr int kGap = 4;
constexpr int kPadX = 9;

void drawSymbol(QPainter& p, Symbol symbol, int points, QPointF at, qreal dpr)
{
    QImage image = SymbolArt::tinted(symbol, (QSizeF(points, points) * dpr).toSize(), Theme::white(0.78));
    image.setDevicePixelRatio(dpr);
    p.drawImage(at, image);
}
} // namespace

TranslateToggle::TranslateToggle(QWidget* parent)
    : QAbstractButton(parent)
{
    setFixedSize(sizeHint());
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::NoFocus);
}

void TranslateToggle::setOpen(bool open)
{
    if (open == m_open)
        return;
    m_open = open;
    update();
}

QSize TranslateToggle::sizeHint() const
{
    return {kPadX + kBook + kGap + kChevron + kPadX, height};
}

void TranslateToggle::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(Theme::white(m_open ? 0.14 : 0.08));
    const QRectF shape(rect());
    p.drawRoundedRect(shape, shape.height() / 2, shape.height() / 2);
    const qreal dpr = devicePixelRatioF();
    drawSymbol(p, Symbol::Book, kBook, QPointF(kPadX, (height - kBook) / 2.0), dpr);
    // Up toward where the menu opens; down once it is open, to fold it away.
    drawSymbol(p, m_open ? Symbol::ChevronDown : Symbol::ChevronUp, kChevron,
               QPointF(kPadX + kBook + kGap, (height - kChevron) / 2.0), dpr);
}
