#include "ui/kit/soft_picker.h"
#include "ui/kit/label_button.h"

#include "ui/kit/kit_accessible.h"
#include "ui/kit/kit_font.h"
#include "ui/kit/kit_paint.h"
#include "ui/kit/scheme.h"

#include <QAbstractItemView>
#include <QFocusEvent>
#include <QFontMetricsF>
#include <QPainter>
#include <QScreen>
#include <QScrollArea>

#include <cmath>

namespace {

constexpr double chevron = 10;
constexpr double gap = 6;
constexpr double sidePadding = 12;

QFont labelFont()
{
    return KitFont::of(TextRole::CalloutMedium);
}

} // namespace

SoftPicker::SoftPicker(QWidget* parent)
    : QComboBox(parent)
{
    KitAccessible::install();
    setAttribute(Qt::WA_Hover);
    setCursor(Qt::PointingHandCursor);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    // The width follows the entries: a new list lays the picker out again.
    setSizeAdjustPolicy(QComboBox::AdjustToContents);
}

QSize SoftPicker::sizeHint() const
{
    const QFontMetricsF metrics(labelFont());
    double widest = 0;
    for (int i = 0; i < count(); ++i)
        widest = std::max(widest, metrics.horizontalAdvance(itemText(i)));
    // A pixel to spare: the longest entry must never be elided by rounding.
    return {int(std::ceil(widest + gap + chevron + 2 * sidePadding)) + 1,
            int(std::ceil(metrics.height() + 12))};
}

void SoftPicker::showPopup()
{
    setFocus(Qt::OtherFocusReason);
    for (QWidget* above = parentWidget(); above; above = above->parentWidget()) {
        if (auto* area = qobject_cast<QScrollArea*>(above))
            area->ensureWidgetVisible(this, 0, 0);
    }
    QComboBox::showPopup();
    // Below the picker as a menu opens, not over it and what stands above it; above where the
    // screen ends first.
    QWidget* list = view()->window();
    if (list == window())
        return;
    const QRect area = screen()->availableGeometry();
    QPoint at = mapToGlobal(QPoint(0, height() + 4));
    if (at.y() + list->height() > area.bottom())
        at.setY(mapToGlobal(QPoint(0, 0)).y() - 4 - list->height());
    list->move(at);
}

void SoftPicker::focusInEvent(QFocusEvent* event)
{
    const Qt::FocusReason reason = event->reason();
    m_keyboardFocus =
        reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason || reason == Qt::ShortcutFocusReason;
    QComboBox::focusInEvent(event);
}

void SoftPicker::focusOutEvent(QFocusEvent* event)
{
    m_keyboardFocus = false;
    QComboBox::focusOutEvent(event);
}

void SoftPicker::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF box = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    const QPainterPath shape = KitPaint::rounded(box, box.height() / 2);
    if (!isEnabled())
        p.setOpacity(StateFill::disabledOpacity);
    const bool hovered = underMouse();
    p.fillPath(shape, Scheme::primary(palette(), LabelButton::softFill.opacity(false, false, hovered)));
    const QColor ink = Scheme::text(palette(), Scheme::Text::Primary);
    const QRectF text = QRectF(rect()).adjusted(sidePadding, 0, -(sidePadding + chevron + gap), 0);
    p.setFont(labelFont());
    p.setPen(ink);
    p.drawText(text, Qt::AlignVCenter | Qt::AlignLeft,
               QFontMetricsF(labelFont()).elidedText(currentText(), Qt::ElideRight, text.width()));
    KitPaint::symbol(
        p, Symbol::ChevronDown,
        QRectF(box.right() - sidePadding - chevron, box.center().y() - chevron / 2, chevron, chevron), ink);
    if (m_keyboardFocus && hasFocus())
        KitPaint::focusRing(p, shape, *this);
}
