#include "ui/kit/primary_button.h"

#include "ui/kit/kit_font.h"
#include "ui/kit/kit_paint.h"
#include "ui/kit/theme.h"

#include <QPainter>

namespace {

constexpr double symbolSize = 13;
constexpr double gap = 6;

QFont labelFont()
{
    return KitFont::of(TextRole::BodyStrong);
}

} // namespace

PrimaryButton::PrimaryButton(const QString& text, QWidget* parent, std::optional<Symbol> symbol)
    : KitButton(parent)
{
    setText(text);
    setSymbol(symbol);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void PrimaryButton::setFill(std::optional<QColor> colour)
{
    if (colour == m_fill)
        return;
    m_fill = colour;
    update();
}

QSize PrimaryButton::sizeHint() const
{
    const QSizeF content = contentSize(labelFont(), symbolSize, gap);
    return QSize(int(std::ceil(content.width() + 32)), int(std::ceil(content.height() + 18)))
        .grownBy(shadowRoom);
}

QRectF PrimaryButton::capsule() const
{
    return QRectF(rect().marginsRemoved(shadowRoom));
}

bool PrimaryButton::hitButton(const QPoint& pos) const
{
    return KitPaint::rounded(capsule(), 1e6).contains(QPointF(pos) + QPointF(0.5, 0.5));
}

void PrimaryButton::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF box = capsule();
    if (!isEnabled())
        p.setOpacity(StateFill::disabledOpacity);
    if (isDown()) {
        p.setOpacity(0.85);
        p.translate(box.center());
        p.scale(0.98, 0.98);
        p.translate(-box.center());
    }
    const QPainterPath shape = KitPaint::rounded(box, box.height() / 2);
    QColor glow = m_fill.value_or(Theme::violet());
    glow.setAlphaF(0.3f);
    KitPaint::shadow(p, shape, glow, 8, 3);
    if (m_fill)
        p.fillPath(shape, *m_fill);
    else
        p.fillPath(shape, Theme::gradient(box));

    paintContent(p, box, labelFont(), Qt::white, symbolSize, gap);
    if (keyboardFocus())
        KitPaint::focusRing(p, shape, *this);
}
