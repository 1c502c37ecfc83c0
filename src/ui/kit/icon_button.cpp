#include "ui/kit/icon_button.h"

#include "ui/kit/kit_paint.h"
#include "ui/kit/scheme.h"

#include <QPainter>

#include <algorithm>

struct IconButton::Fades {
    Fades(Clock& clock, IconButton& owner, int durationMs, Tween::Curve curve)
        : shown(clock, owner, owner.isHidden() ? 0 : 1)
        , look(clock, owner, 1)
        , durationMs(durationMs)
        , curve(curve)
    {
    }

    Tween shown;
    // From 0, the old look alone, to 1, the new look alone.
    Tween look;
    const int durationMs;
    const Tween::Curve curve;
    std::optional<Symbol> oldSymbol;
    Ink oldInk;
};

IconButton::IconButton(Symbol symbol, const QString& accessibleName, QWidget* parent)
    : KitButton(parent)
{
    setSymbol(symbol);
    setAccessibleName(accessibleName);
    setToolTip(accessibleName);
    setFixedSize(side, side);
}

IconButton::~IconButton() = default;

void IconButton::setInk(Ink ink)
{
    m_ink = std::move(ink);
    update();
}

void IconButton::setFade(Clock& clock, int durationMs, Tween::Curve curve)
{
    m_fades = std::make_unique<Fades>(clock, *this, durationMs, curve);
    m_fades->shown.setOnFrame([this] {
        if (m_fades->shown.target() <= 0 && m_fades->shown.value() <= 0)
            setVisible(false);
    });
}

void IconButton::setLook(Symbol look, Ink ink, bool fade)
{
    if (m_fades && fade) {
        m_fades->oldSymbol = symbol();
        m_fades->oldInk = m_ink;
        m_fades->look.set(0);
        m_fades->look.moveTo(1, m_fades->durationMs, m_fades->curve);
    } else if (m_fades) {
        m_fades->look.set(1);
    }
    setSymbol(look);
    setInk(std::move(ink));
}

void IconButton::setShown(bool shown, bool fade)
{
    if (!m_fades) {
        setVisible(shown);
        return;
    }
    Tween& tween = m_fades->shown;
    // Already there, or on its way out.
    if (tween.target() == (shown ? 1 : 0) && (shown ? !isHidden() : isHidden() || tween.running()))
        return;
    if (shown)
        setVisible(true);
    if (fade)
        tween.moveTo(shown ? 1 : 0, m_fades->durationMs, m_fades->curve);
    else
        tween.set(shown ? 1 : 0);
    if (!shown && !tween.running())
        setVisible(false);
}

double IconButton::opacity() const
{
    if (isHidden())
        return 0;
    return m_fades ? std::clamp(m_fades->shown.value(), 0.0, 1.0) : 1.0;
}

bool IconButton::hitButton(const QPoint& pos) const
{
    const QPointF d = QPointF(pos) + QPointF(0.5, 0.5) - QRectF(rect()).center();
    return d.x() * d.x() + d.y() * d.y() <= (side / 2.0) * (side / 2.0);
}

void IconButton::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath circle;
    circle.addEllipse(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5));
    if (m_fades)
        p.setOpacity(std::clamp(m_fades->shown.value(), 0.0, 1.0));
    paintStateFill(p, circle, Scheme::primary(palette(), 1), circleFill);
    const double fresh = m_fades ? std::clamp(m_fades->look.value(), 0.0, 1.0) : 1.0;
    const double whole = p.opacity();
    if (fresh < 1 && m_fades->oldSymbol) {
        p.setOpacity(whole * (1 - fresh));
        paintSymbol(p, *m_fades->oldSymbol, m_fades->oldInk);
    }
    p.setOpacity(whole * fresh);
    paintSymbol(p, *symbol(), m_ink);
    p.setOpacity(whole);
    if (keyboardFocus()) {
        QPainterPath inner;
        inner.addEllipse(QRectF(rect()).adjusted(3, 3, -3, -3));
        KitPaint::focusRing(p, inner, *this);
    }
}

void IconButton::paintSymbol(QPainter& painter, Symbol symbol, const Ink& ink) const
{
    const double glyph = 12;
    KitPaint::symbol(painter, symbol,
                     QRectF(QRectF(rect()).center() - QPointF(glyph / 2, glyph / 2), QSizeF(glyph, glyph)),
                     ink ? ink(palette()) : Scheme::text(palette(), Scheme::Text::Primary));
}
