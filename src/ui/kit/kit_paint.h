#pragma once

#include "ui/kit/symbol.h"

#include <QBrush>
#include <QPainterPath>
#include <QRectF>

class QPainter;
class QWidget;

// Painting shared by the kit's widgets.
namespace KitPaint {

// A rounded rectangle; radius past half the height makes a capsule.
QPainterPath rounded(const QRectF& rect, double radius);
// A soft shadow of shape: `layers` faint copies widening up to `blur`, moved down by offsetY.
void shadow(QPainter& painter, const QPainterPath& shape, const QColor& colour, double blur, double offsetY);
// The keyboard focus ring: a 2-point ring in the highlight colour, 2 points outside shape.
void focusRing(QPainter& painter, const QPainterPath& shape, const QWidget& widget);
// A symbol tinted with brush, centred in box; tinted at every call, so it follows palette changes.
void symbol(QPainter& painter, Symbol symbol, const QRectF& box, const QBrush& brush);

} // namespace KitPaint
