#pragma once

#include <QColor>
#include <QLinearGradient>
#include <QPalette>
#include <QRectF>

// The program's palette and the one switch for every animation of the views.
namespace Theme {

QColor indigo();
QColor violet();
QColor pink();
// Indigo, violet and pink evenly spaced from the top-left to the bottom-right corner of shape.
QLinearGradient gradient(const QRectF& shape);
// The control background of the given scheme (cards and fields).
QColor cardFill(const QPalette& palette);
// The primary text colour of the given scheme at 7 % opacity, for hairline borders.
QColor stroke(const QPalette& palette);
// White at an opacity from 0 to 1.
QColor white(double opacity);
// The dark scheme's system colours, which the floating widget always uses.
QColor red();
QColor green();
QColor orange();
// The dark colour scheme the floating widget is drawn in, whatever the desktop's appearance.
QPalette darkPalette();

// On unless switched off (by the widget suites and a snapshot run): off, every animation shows its
// end state at once and runs no timer.
bool animated();
void setAnimated(bool animated);

} // namespace Theme
