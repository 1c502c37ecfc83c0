#pragma once

#include <QColor>
#include <QPalette>

// The system colours of the main window, the popover and onboarding, for the light or dark scheme
// of the palette they are painted with. Read at paint time, so a scheme change repaints in the
// new colours without rebuilding a view.
namespace Scheme {

enum class Text { Primary, Secondary, Tertiary };

bool isDark(const QPalette& palette);
QColor red(const QPalette& palette);
QColor green(const QPalette& palette);
QColor orange(const QPalette& palette);
// The scheme's text colour at an opacity from 0 to 1 (the "primary" colour of fills and borders).
QColor primary(const QPalette& palette, double opacity);
// Text of a level. Secondary and tertiary text are the primary colour made fainter, but never so
// faint that they fall below 4.5:1 and 3:1 against the card fill.
QColor text(const QPalette& palette, Text level);
// WCAG contrast ratio of an opaque foreground against an opaque background.
double contrast(const QColor& foreground, const QColor& background);
// colour painted over background, as one opaque colour.
QColor over(const QColor& colour, const QColor& background);
// The palettes the snapshot paints each window in.
QPalette light();
QPalette dark();

} // namespace Scheme
