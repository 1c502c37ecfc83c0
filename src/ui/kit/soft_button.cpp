#include "ui/kit/soft_button.h"

#include "ui/kit/kit_font.h"
#include "ui/kit/kit_paint.h"
#include "ui/kit/scheme.h"

#include <QFontMetricsF>
#include <QPainter>

namespace {

constexpr double symbolSize = 12;
constexpr double gap = 5;

QFont labelFont()
{
    return KitFont::make(12, QFont::Medium);
}

} // namespace

SoftButton::SoftButton(const QString& text, QWidget* parent, std::optional<Symbol> symbol)
    : KitButton(parent)
{
    setText(text);
    setSymbol(symbol);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void SoftButton::setForeground(std::optional<QColor> colour)
{
    m_foreground = colour;
    update();
}

double SoftButton::fillOpacity() const
{
    if (isDown())
        return 0.13;
    return hovering() ? 0.10 : 0.07;
}

QSize SoftButton::sizeHint() const
{
    const QFontMetricsF metrics(labelFont());
    double width = metrics.horizontalAdvance(text()) + 24;
    if (symbol())
        width += symbolSize + (text().isEmpty() ? 0 : gap);
    return {int(std::ceil(width)), int(std::ceil(metrics.height() + 12))};
}

void SoftButton::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    if (!isEnabled())
        p.setOpacity(0.45);
    const QRectF box = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    const QPainterPath shape = KitPaint::rounded(box, box.height() / 2);
    p.fillPath(shape, Scheme::primary(palette(), fillOpacity()));
    const QColor ink = m_foreground.value_or(Scheme::text(palette(), Scheme::Text::Primary));
    const QFontMetricsF metrics(labelFont());
    double contentWidth = metrics.horizontalAdvance(text());
    if (symbol())
        contentWidth += symbolSize + (text().isEmpty() ? 0 : gap);
    double x = box.center().x() - contentWidth / 2;
    if (symbol()) {
        KitPaint::symbol(p, *symbol(), QRectF(x, box.center().y() - symbolSize / 2, symbolSize, symbolSize),
                         ink);
        x += symbolSize + gap;
    }
    p.setFont(labelFont());
    p.setPen(ink);
    p.drawText(QRectF(x, box.top(), box.right() - x + 1, box.height()), Qt::AlignVCenter | Qt::AlignLeft,
               text());
    if (keyboardFocus())
        KitPaint::focusRing(p, shape, *this);
}
