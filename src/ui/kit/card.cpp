#include "ui/kit/card.h"

#include "ui/kit/kit_paint.h"
#include "ui/kit/theme.h"

#include <QPainter>
#include <QVBoxLayout>

Card::Card(int padding, QWidget* parent)
    : QWidget(parent)
    , m_content(new QVBoxLayout(this))
{
    m_content->setContentsMargins(padding, padding, padding, padding);
    m_content->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
}

ShadowLook Card::shadowLook()
{
    return {.corner = radius, .blur = 10, .offsetY = 3, .colour = QColor::fromRgbF(0, 0, 0, 0.04f)};
}

QList<ShadowCaster::Cast> Card::shadows() const
{
    return {{QRectF(rect()), shadowLook()}};
}

void Card::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF box(rect());
    const QPainterPath shape = KitPaint::rounded(box, radius);
    p.fillPath(shape, Theme::cardFill(palette()));
    // Stroked inside the border: the line lies wholly within the shape.
    p.setPen(QPen(Theme::stroke(palette()), 1));
    p.setBrush(Qt::NoBrush);
    p.drawPath(KitPaint::rounded(box.adjusted(0.5, 0.5, -0.5, -0.5), radius - 0.5));
}
