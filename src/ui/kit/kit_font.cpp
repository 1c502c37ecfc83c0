#include "ui/kit/kit_font.h"

#include <QGuiApplication>

QFont KitFont::make(double points, QFont::Weight weight, Design design)
{
    QFont font = QGuiApplication::font();
    // Pixel sizes are whole numbers; a point size of three quarters keeps 12.5 and 11.5 apart.
    font.setPointSizeF(points * 0.75);
    font.setWeight(weight);
    // No rounded system face exists here; rounded text keeps the default face with tighter figures.
    if (design == Design::Rounded)
        font.setStyleHint(QFont::SansSerif);
    return font;
}
