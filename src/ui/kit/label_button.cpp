#include "ui/kit/label_button.h"

#include "ui/kit/kit_font.h"
#include "ui/kit/kit_paint.h"
#include "ui/kit/scheme.h"
#include "ui/kit/theme.h"

#include <QPainter>

namespace {

struct Measures {
    TextRole font;
    double symbolSize;
    double gap;
    QSize padding; // around the label, both sides together
};

Measures measuresOf(LabelButton::Style style)
{
    if (style == LabelButton::Style::Primary)
        return {TextRole::BodyStrong, 13, 6, {32, 18}};
    return {TextRole::CalloutMedium, 12, 5, {24, 12}};
}

} // namespace

LabelButton::LabelButton(Style style, const QString& text, QWidget* parent, std::optional<Symbol> symbol)
    : KitButton(parent)
    , m_style(style)
{
    setText(text);
    setSymbol(symbol);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void LabelButton::setColour(std::optional<QColor> colour)
{
    if (colour == m_colour)
        return;
    m_colour = colour;
    update();
}

QSize LabelButton::sizeHint() const
{
    const Measures m = measuresOf(m_style);
    const QSizeF content = contentSize(KitFont::of(m.font), m.symbolSize, m.gap);
    const QSize size(int(std::ceil(content.width() + m.padding.width())),
                     int(std::ceil(content.height() + m.padding.height())));
    return m_style == Style::Primary ? size.grownBy(shadowRoom) : size;
}

QRectF LabelButton::capsule() const
{
    if (m_style == Style::Primary)
        return QRectF(rect().marginsRemoved(shadowRoom));
    return QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
}

bool LabelButton::hitButton(const QPoint& pos) const
{
    if (m_style == Style::Soft)
        return KitButton::hitButton(pos);
    return KitPaint::rounded(capsule(), 1e6).contains(QPointF(pos) + QPointF(0.5, 0.5));
}

void LabelButton::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    if (m_style == Style::Primary)
        paintPrimary(p);
    else
        paintSoft(p);
}

void LabelButton::paintPrimary(QPainter& p)
{
    const Measures m = measuresOf(m_style);
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
    QColor glow = m_colour.value_or(Theme::violet());
    glow.setAlphaF(0.3f);
    KitPaint::shadow(p, shape, glow, 8, 3);
    if (m_colour)
        p.fillPath(shape, *m_colour);
    else
        p.fillPath(shape, Theme::gradient(box));

    paintContent(p, box, KitFont::of(m.font), Qt::white, m.symbolSize, m.gap);
    if (keyboardFocus())
        KitPaint::focusRing(p, shape, *this);
}

void LabelButton::paintSoft(QPainter& p)
{
    const Measures m = measuresOf(m_style);
    const QRectF box = capsule();
    const QPainterPath shape = KitPaint::rounded(box, box.height() / 2);
    paintStateFill(p, shape, Scheme::primary(palette(), 1), softFill);
    const QColor ink = m_colour.value_or(Scheme::text(palette(), Scheme::Text::Primary));
    paintContent(p, box, KitFont::of(m.font), ink, m.symbolSize, m.gap);
    // Around the capsule the ring would fall outside the button and be cut away: it lies inside.
    if (keyboardFocus()) {
        const QRectF inner = QRectF(rect()).adjusted(3, 3, -3, -3);
        KitPaint::focusRing(p, KitPaint::rounded(inner, inner.height() / 2), *this);
    }
}
