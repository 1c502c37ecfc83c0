#include "ui/kit/toggle_switch.h"

#include "ui/kit/kit_paint.h"
#include "ui/kit/scheme.h"
#include "ui/kit/theme.h"

#include <QPainter>

namespace {
// The track: the text colour faintly when off, the whole violet when on.
constexpr StateFill trackFill{.rest = 0.18, .hover = 0.18, .pressed = 0.18, .chosen = 1};
} // namespace

ToggleSwitch::ToggleSwitch(const QString& accessibleName, QWidget* parent)
    : KitButton(parent)
{
    setCheckable(true);
    setAccessibleName(accessibleName);
    setFixedSize(trackSize);
}

void ToggleSwitch::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF track = QRectF(rect()).adjusted(1, 1, -1, -1);
    const QPainterPath shape = KitPaint::rounded(track, track.height() / 2);
    paintStateFill(painter, shape, isChecked() ? Theme::violet() : Scheme::primary(palette(), 1), trackFill);
    const double inset = 2;
    const double knob = track.height() - 2 * inset;
    const double x = isChecked() ? track.right() - inset - knob : track.left() + inset;
    const QRectF disc(x, track.top() + inset, knob, knob);
    KitPaint::shadow(painter, KitPaint::rounded(disc, knob / 2), QColor(0, 0, 0, 40), 2, 1);
    painter.setBrush(Qt::white);
    painter.setPen(Qt::NoPen);
    painter.drawEllipse(disc);
    if (keyboardFocus())
        KitPaint::focusRing(painter, shape, *this);
}
