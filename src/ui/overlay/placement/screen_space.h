#pragma once

#include <QPoint>
#include <QPointF>
#include <QRect>
#include <QRectF>

// Converts between Qt's global coordinates (y down from the primary screen's top) and the widget's
// (y up from the primary screen's bottom). A pointer on a pixel row belongs to the screen whose rows
// hold it in both spaces: Qt counts a screen's top row in, the widget's space its top edge.
class ScreenSpace final {
public:
    // primaryBottom: the Qt y just below the primary screen's last row.
    explicit ScreenSpace(int primaryBottom = 0)
        : m_primaryBottom(primaryBottom)
    {
    }

    QRectF fromGlobal(const QRect& rect) const;
    QPointF fromGlobal(const QPoint& point) const;
    // Rounds to whole pixels, halves away from zero.
    QRect toGlobal(const QRectF& frame) const;

private:
    int m_primaryBottom;
};
