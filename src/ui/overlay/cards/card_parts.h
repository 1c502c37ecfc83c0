#pragma once

#include "ui/kit/kit_font.h"
#include "ui/kit/symbol.h"

#include <QColor>
#include <QRectF>
#include <QString>

class LineLimitedLabel;
class QBoxLayout;
class QLabel;
class QPainter;
class QWidget;

// Pieces every overlay card is built from: its dark rounded shell, its labels and hairlines.
namespace CardParts {

constexpr double radius = 14;
constexpr int padding = 14;

// A plain-text label; selectable ones take the mouse for selecting but never the keyboard focus.
QLabel* label(const QString& text, TextRole role, const QColor& color, QWidget* parent,
              bool selectable = false);
// Wrapped text of at most maxLines lines, ending in an ellipsis when it goes on.
LineLimitedLabel* wrapped(const QString& text, TextRole role, const QColor& color, int maxLines,
                          QWidget* parent, bool selectable);
// A 0.5-point hairline of white at the given opacity.
QWidget* divider(double opacity, QWidget* parent);
// A symbol filled with the brand gradient from top to bottom.
QWidget* gradientSymbol(Symbol symbol, int points, QWidget* parent);
// The card's fill: white level 0.1 at 97 %.
void paintShell(QPainter& painter, const QRectF& rect);
// Thin border when untimed; a thicker one and the shrinking bar while a countdown runs.
void paintChrome(QPainter& painter, const QRectF& rect, double remaining, bool timed);
// The bar's rectangle for remaining, anchored to the trailing end of its strip.
QRectF barRect(const QRectF& card, double remaining);

} // namespace CardParts
