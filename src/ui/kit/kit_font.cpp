#include "ui/kit/kit_font.h"

#include <QFontDatabase>
#include <QGuiApplication>

QFont KitFont::of(TextRole role, Design design)
{
    QFont font = role == TextRole::Mono ? QFontDatabase::systemFont(QFontDatabase::FixedFont)
                                        : QGuiApplication::font();
    const Face f = face(role);
    // One design point is one pixel at 96 dpi; set in points, text follows a desktop that scales its fonts.
    font.setPointSizeF(f.points * 0.75);
    font.setWeight(f.weight);
    // No rounded system face exists here; rounded text keeps the default face with tighter figures.
    if (design == Design::Rounded)
        font.setStyleHint(QFont::SansSerif);
    return font;
}
