#pragma once

#include <QRectF>
#include <QtGlobal>

// One screen in the widget's coordinates: origin at the primary screen's bottom-left, y upward, so a
// rectangle's y() is its bottom edge.
struct ScreenRecord {
    quint32 id = 0;
    QRectF frame{};
    // The frame without panels and docks.
    QRectF visibleFrame{};

    friend bool operator==(const ScreenRecord&, const ScreenRecord&) = default;
};
