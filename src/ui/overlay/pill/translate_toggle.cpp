#include "ui/overlay/pill/translate_toggle.h"

#include "core/text/l10n.h"
#include "ui/kit/motion.h"
#include "ui/kit/symbol.h"
#include "ui/kit/theme.h"

#include <QHideEvent>
#include <QPainter>

#include <algorithm>

namespace {
constexpr int kBook = 10;
constexpr int kChevron = 8;
constexpr int kGap = 4;
constexpr int kPadX = 9;
constexpr double kClosedFill = 0.08;
constexpr double kOpenFill = 0.14;

void drawSymbol(QPainter& p, Symbol symbol, int points, QPointF at, qreal dpr)
{
    QImage image = SymbolArt::tinted(symbol, (QSizeF(points, points) * dpr).toSize(), Theme::white(0.78));
    image.setDevicePixelRatio(dpr);
    p.drawImage(at, image);
}
} // namespace

TranslateToggle::TranslateToggle(Clock& clock, QWidget* parent)
    : KitButton(parent)
    , m_fill(clock, *this, kClosedFill)
{
    setAccessibleName(L10n::s(QStringLiteral("overlay.translateHelp")));
    setFixedSize(sizeHint());
    // The overlay never takes the keyboard focus from the field the text goes into.
    setFocusPolicy(Qt::NoFocus);
}

void TranslateToggle::setOpen(bool open)
{
    if (open == m_open)
        return;
    m_open = open;
    m_fill.moveTo(open ? kOpenFill : kClosedFill, Motion::toggleMs, &Motion::toggle);
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
    p.setBrush(Theme::white(std::clamp(m_fill.value(), 0.0, 1.0)));
    const QRectF shape(rect());
    p.drawRoundedRect(shape, shape.height() / 2, shape.height() / 2);
    const qreal dpr = devicePixelRatioF();
    drawSymbol(p, Symbol::Book, kBook, QPointF(kPadX, (height - kBook) / 2.0), dpr);
    // Up toward where the menu opens; down once it is open, to fold it away.
    drawSymbol(p, m_open ? Symbol::ChevronDown : Symbol::ChevronUp, kChevron,
               QPointF(kPadX + kBook + kGap, (height - kChevron) / 2.0), dpr);
}

void TranslateToggle::hideEvent(QHideEvent* event)
{
    // Nobody sees the spring now: no frame timer for a hidden button.
    m_fill.finish();
    KitButton::hideEvent(event);
}
