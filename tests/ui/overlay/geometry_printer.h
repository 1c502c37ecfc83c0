#pragma once

#include <QPointF>
#include <QRect>
#include <QRectF>
#include <QSize>

#include <ostream>

// Readable rectangles and points in GoogleTest failure messages.
inline void PrintTo(const QRectF& r, std::ostream* os)
{
    *os << "(" << r.x() << ", " << r.y() << " " << r.width() << "x" << r.height() << ")";
}

inline void PrintTo(const QRect& r, std::ostream* os)
{
    PrintTo(QRectF(r), os);
}

inline void PrintTo(const QPointF& p, std::ostream* os)
{
    *os << "(" << p.x() << ", " << p.y() << ")";
}

inline void PrintTo(const QSize& s, std::ostream* os)
{
    *os << s.width() << "x" << s.height();
}
