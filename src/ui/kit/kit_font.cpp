#include "ui/kit/kit_font.h"

#include <QFontDatabase>
#include <QGuiApplication>

KitFont::Face KitFont::face(TextRole role)
{
    switch (role) {
    case TextRole::Title:
        return {28, QFont::Bold};
    case TextRole::DocumentTitle:
        return {18, QFont::DemiBold};
    case TextRole::Brand:
        return {17, QFont::Bold};
    case TextRole::Lead:
        return {14, QFont::Normal};
    case TextRole::LeadMedium:
        return {14, QFont::Medium};
    case TextRole::Heading:
        return {14, QFont::DemiBold};
    case TextRole::Body:
        return {13, QFont::Normal};
    case TextRole::BodyMedium:
        return {13, QFont::Medium};
    case TextRole::BodyStrong:
        return {13, QFont::DemiBold};
    case TextRole::Callout:
    case TextRole::Mono:
        return {12, QFont::Normal};
    case TextRole::CalloutMedium:
        return {12, QFont::Medium};
    case TextRole::CalloutStrong:
        return {12, QFont::DemiBold};
    case TextRole::Caption:
        return {11, QFont::Normal};
    case TextRole::CaptionMedium:
        return {11, QFont::Medium};
    case TextRole::CaptionStrong:
        return {11, QFont::DemiBold};
    case TextRole::Micro:
        return {10, QFont::Normal};
    case TextRole::MicroMedium:
        return {10, QFont::Medium};
    case TextRole::MicroStrong:
        return {10, QFont::DemiBold};
    }
    return {13, QFont::Normal};
}

QFont KitFont::make(double points, QFont::Weight weight, Design design)
{
    QFont font = QGuiApplication::font();
    font.setPointSizeF(points * 0.75);
    font.setWeight(weight);
    if (design == Design::Rounded)
        font.setStyleHint(QFont::SansSerif);
    return font;
}

QFont KitFont::of(TextRole role, Design design)
{
    QFont font = role == TextRole::Mono ? QFontDatabase::systemFont(QFontDatabase::FixedFont)
                                        : QGuiApplication::font();
    const Face f = face(role);
    // Pixel sizes are whole numbers; a point size of three quarters keeps the design's points.
    font.setPointSizeF(f.points * 0.75);
    font.setWeight(f.weight);
    // No rounded system face exists here; rounded text keeps the default face with tighter figures.
    if (design == Design::Rounded)
        font.setStyleHint(QFont::SansSerif);
    return font;
}
