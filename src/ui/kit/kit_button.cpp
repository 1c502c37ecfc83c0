#include "ui/kit/kit_button.h"

#include "ui/kit/kit_accessible.h"
#include "ui/kit/kit_paint.h"

#include <QBrush>
#include <QEnterEvent>
#include <QFocusEvent>
#include <QFontMetricsF>
#include <QKeyEvent>
#include <QPainter>
#include <QPainterPath>

KitButton::KitButton(QWidget* parent)
    : QAbstractButton(parent)
{
    KitAccessible::install();
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_Hover);
    setCursor(Qt::PointingHandCursor);
}

void KitButton::setSymbol(std::optional<Symbol> symbol)
{
    m_symbol = symbol;
    updateGeometry();
    update();
}

void KitButton::enterEvent(QEnterEvent* event)
{
    m_hovering = true;
    update();
    QAbstractButton::enterEvent(event);
}

void KitButton::leaveEvent(QEvent* event)
{
    m_hovering = false;
    update();
    QAbstractButton::leaveEvent(event);
}

void KitButton::focusInEvent(QFocusEvent* event)
{
    const Qt::FocusReason reason = event->reason();
    m_keyboardFocus =
        reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason || reason == Qt::ShortcutFocusReason;
    QAbstractButton::focusInEvent(event);
}

void KitButton::focusOutEvent(QFocusEvent* event)
{
    m_keyboardFocus = false;
    QAbstractButton::focusOutEvent(event);
}

void KitButton::keyPressEvent(QKeyEvent* event)
{
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
        event->modifiers() == Qt::NoModifier) {
        click();
        return;
    }
    QAbstractButton::keyPressEvent(event);
}

void KitButton::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::PaletteChange || event->type() == QEvent::FontChange)
        updateGeometry();
    QAbstractButton::changeEvent(event);
}

void KitButton::paintStateFill(QPainter& painter, const QPainterPath& shape, QColor colour,
                               const StateFill& fill) const
{
    if (!isEnabled())
        painter.setOpacity(StateFill::disabledOpacity);
    const double opacity = fillOpacity(fill);
    if (opacity <= 0)
        return;
    colour.setAlphaF(static_cast<float>(colour.alphaF() * opacity));
    painter.fillPath(shape, colour);
}

void KitButton::paintCircle(QPainter& painter, const std::optional<QBrush>& ownFill) const
{
    static constexpr StateFill faint{.rest = 0.08, .hover = 0.08, .pressed = 0.16, .chosen = {}};
    QPainterPath circle;
    circle.addEllipse(QRectF(rect()));
    paintStateFill(painter, circle, Qt::white, ownFill ? StateFill{} : faint);
    if (ownFill)
        painter.fillPath(circle, *ownFill);
}

QSizeF KitButton::contentSize(const QFont& font, double symbolSide, double gap) const
{
    const QFontMetricsF metrics(font);
    double width = metrics.horizontalAdvance(text());
    if (m_symbol)
        width += symbolSide + (text().isEmpty() ? 0 : gap);
    return {width, metrics.height()};
}

void KitButton::paintContent(QPainter& painter, const QRectF& box, const QFont& font, const QColor& ink,
                             double symbolSide, double gap) const
{
    double x = box.center().x() - contentSize(font, symbolSide, gap).width() / 2;
    if (m_symbol) {
        KitPaint::symbol(painter, *m_symbol,
                         QRectF(x, box.center().y() - symbolSide / 2, symbolSide, symbolSide), ink);
        x += symbolSide + gap;
    }
    painter.setFont(font);
    painter.setPen(ink);
    painter.drawText(QRectF(x, box.top(), box.right() - x + 1, box.height()),
                     Qt::AlignVCenter | Qt::AlignLeft, text());
}
