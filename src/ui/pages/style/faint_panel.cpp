#include "ui/pages/style/faint_panel.h"

#include "ui/kit/kit_paint.h"
#include "ui/kit/scheme.h"
#include "ui/kit/theme.h"

#include <QPainter>

FaintPanel::FaintPanel(double radius, bool bordered, QWidget* parent)
    : QWidget(parent)
    , m_radius(radius)
    , m_bordered(bordered)
{
}

void FaintPanel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF box = QRectF(rect());
    painter.fillPath(KitPaint::rounded(box, m_radius), Scheme::primary(palette(), 0.04));
    if (m_bordered) {
        // Inside the border: the line lies wholly within the field.
        painter.setPen(QPen(Theme::stroke(palette()), 1));
        painter.drawPath(KitPaint::rounded(box.adjusted(0.5, 0.5, -0.5, -0.5), m_radius - 0.5));
    }
}
