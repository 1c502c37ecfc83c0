#include "ui/kit/soft_button.h"

#include "ui/kit/kit_font.h"
#include "ui/kit/kit_paint.h"
#include "ui/kit/scheme.h"

#include <QPainter>

namespace {

constexpr double symbolSize = 12;
constexpr double gap = 5;

QFont labelFont()
{
    return KitFont::of(TextRole::CalloutMedium);
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

QSize SoftButton::sizeHint() const
{
    const QSizeF content = contentSize(labelFont(), symbolSize, gap);
    return {int(std::ceil(content.width() + 24)), int(std::ceil(content.height() + 12))};
}

void SoftButton::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF box = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    const QPainterPath shape = KitPaint::rounded(box, box.height() / 2);
    paintStateFill(p, shape, Scheme::primary(palette(), 1), capsuleFill);
    const QColor ink = m_foreground.value_or(Scheme::text(palette(), Scheme::Text::Primary));
    paintContent(p, box, labelFont(), ink, symbolSize, gap);
    // Around the capsule the ring would fall outside the button and be cut away: it lies inside.
    if (keyboardFocus()) {
        const QRectF inner = QRectF(rect()).adjusted(3, 3, -3, -3);
        KitPaint::focusRing(p, KitPaint::rounded(inner, inner.height() / 2), *this);
    }
}
