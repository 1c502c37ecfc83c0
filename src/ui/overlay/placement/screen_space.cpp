#include "ui/overlay/placement/screen_space.h"

#include <cmath>

QRectF ScreenSpace::fromGlobal(const QRect& rect) const
{
    return {qreal(rect.x()), qreal(m_primaryBottom - rect.y() - rect.height()), qreal(rect.width()),
            qreal(rect.height())};
}

QPointF ScreenSpace::fromGlobal(const QPoint& point) const
{
    return {qreal(point.x()), qreal(m_primaryBottom - point.y())};
}

QRect ScreenSpace::toGlobal(const QRectF& frame) const
{
    const auto whole = [](qreal v) { return int(std::round(v)); };
    return {whole(frame.x()), whole(m_primaryBottom - frame.y() - frame.height()), whole(frame.width()),
            whole(frame.height())};
}
