#pragma once

#include <QFont>

// The system font at a size in points of the design (one point is one pixel at 96 dpi, the way
// the overlay measures), fractional sizes included.
namespace KitFont {

enum class Design { Default, Rounded };

QFont make(double points, QFont::Weight weight = QFont::Normal, Design design = Design::Default);

} // namespace KitFont
