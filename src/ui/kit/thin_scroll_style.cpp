#include "ui/kit/thin_scroll_style.h"

#include "ui/kit/kit_paint.h"
#include "ui/kit/scheme.h"

#include <QAbstractScrollArea>
#include <QCoreApplication>
#include <QEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyleOptionSlider>

ThinScrollStyle::ThinScrollStyle(Place place, QObject* parent)
    : m_place(place)
{
    setParent(parent);
}

void ThinScrollStyle::apply(QWidget& root)
{
    QList<QScrollBar*> bars = root.findChildren<QScrollBar*>();
    if (auto* bar = qobject_cast<QScrollBar*>(&root))
        bars.prepend(bar);
    for (QScrollBar* bar : bars) {
        if (bar->style() == this)
            continue;
        bar->setStyle(this);
        // The view measures its bars when it lays itself out, so it lays itself out again.
        for (QWidget* up = bar->parentWidget(); up; up = up->parentWidget()) {
            if (auto* view = qobject_cast<QAbstractScrollArea*>(up)) {
                QEvent changed(QEvent::StyleChange);
                QCoreApplication::sendEvent(view, &changed);
                break;
            }
        }
    }
}

int ThinScrollStyle::pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const
{
    switch (metric) {
    case PM_ScrollBarExtent:
        return extent;
    case PM_ScrollBarSliderMin:
        return thumbMin;
    case PM_ScrollView_ScrollBarOverlap:
        return m_place == Place::Over ? extent : 0;
    case PM_ScrollView_ScrollBarSpacing:
        return 0;
    default:
        return QProxyStyle::pixelMetric(metric, option, widget);
    }
}

int ThinScrollStyle::styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                               QStyleHintReturn* returnData) const
{
    if (hint == SH_ScrollBar_Transient)
        return 0;
    return QProxyStyle::styleHint(hint, option, widget, returnData);
}

QRect ThinScrollStyle::subControlRect(ComplexControl control, const QStyleOptionComplex* option,
                                      SubControl sub, const QWidget* widget) const
{
    const auto* bar = qstyleoption_cast<const QStyleOptionSlider*>(option);
    if (control != CC_ScrollBar || !bar)
        return QProxyStyle::subControlRect(control, option, sub, widget);
    const bool vertical = bar->orientation == Qt::Vertical;
    const QRect groove = bar->rect;
    const int length = vertical ? groove.height() : groove.width();
    const int range = bar->maximum - bar->minimum;
    int thumbLength = length;
    if (range > 0) {
        const qint64 wanted = qint64(length) * bar->pageStep / (qint64(range) + bar->pageStep);
        thumbLength = std::clamp(int(wanted), std::min(thumbMin, length), length);
    }
    const int start = sliderPositionFromValue(bar->minimum, bar->maximum, bar->sliderPosition,
                                              length - thumbLength, bar->upsideDown);
    const auto along = [&](int from, int size) {
        return vertical ? QRect(groove.x(), groove.y() + from, groove.width(), size)
                        : QRect(groove.x() + from, groove.y(), size, groove.height());
    };
    switch (sub) {
    case SC_ScrollBarGroove:
        return groove;
    case SC_ScrollBarSlider:
        return along(start, thumbLength);
    case SC_ScrollBarSubPage:
        return along(0, start);
    case SC_ScrollBarAddPage:
        return along(start + thumbLength, length - start - thumbLength);
    default:
        // No arrow buttons and no first and last buttons.
        return {};
    }
}

void ThinScrollStyle::drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                                         QPainter* painter, const QWidget* widget) const
{
    const auto* bar = qstyleoption_cast<const QStyleOptionSlider*>(option);
    if (control != CC_ScrollBar || !bar) {
        QProxyStyle::drawComplexControl(control, option, painter, widget);
        return;
    }
    if (bar->maximum <= bar->minimum)
        return;
    const bool active = bar->state & (State_MouseOver | State_Sunken);
    const bool pressed = (bar->state & State_Sunken) && bar->activeSubControls == SC_ScrollBarSlider;
    const int width = active ? thumbHover : thumb;
    const QRect slider = subControlRect(control, option, SC_ScrollBarSlider, widget);
    // Along the bar's outer edge (the window's side), two points in from it.
    const bool vertical = bar->orientation == Qt::Vertical;
    const double across = vertical && bar->direction == Qt::RightToLeft ? slider.left() + 2
                          : vertical                                    ? slider.right() + 1 - 2 - width
                                                                        : slider.bottom() + 1 - 2 - width;
    const QRectF capsule = vertical ? QRectF(across, slider.top() + 2, width, slider.height() - 4)
                                    : QRectF(slider.left() + 2, across, slider.width() - 4, width);
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    painter->fillPath(KitPaint::rounded(capsule, width / 2.0),
                      Scheme::primary(bar->palette, pressed ? 0.5 : (active ? 0.38 : 0.26)));
    painter->restore();
}
