#include "ui/kit/scheme.h"

#include "ui/kit/theme.h"

#include <algorithm>
#include <cmath>

namespace {

double linear(double channel)
{
    return channel <= 0.04045 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
}

double luminance(const QColor& c)
{
    return 0.2126 * linear(c.redF()) + 0.7152 * linear(c.greenF()) + 0.0722 * linear(c.blueF());
}

QColor pick(const QPalette& palette, QColor light, QColor dark)
{
    return Scheme::isDark(palette) ? dark : light;
}

// The faintest opacity from `nominal` upward at which the text still reaches `ratio` on the fill.
QColor faded(const QPalette& palette, double nominal, double ratio)
{
    const QColor fill = Theme::cardFill(palette);
    double opacity = nominal;
    while (opacity < 1.0 &&
           Scheme::contrast(Scheme::over(Scheme::primary(palette, opacity), fill), fill) < ratio)
        opacity += 0.02;
    return Scheme::primary(palette, std::min(opacity, 1.0));
}

} // namespace

bool Scheme::isDark(const QPalette& palette)
{
    return palette.color(QPalette::Window).lightnessF() < 0.5;
}

QColor Scheme::red(const QPalette& palette)
{
    return pick(palette, QColor(255, 59, 48), Theme::red());
}

QColor Scheme::green(const QPalette& palette)
{
    // The light scheme's green and orange are darkened so their labels reach 4.5:1 on white.
    return pick(palette, QColor(30, 128, 56), Theme::green());
}

QColor Scheme::orange(const QPalette& palette)
{
    return pick(palette, QColor(178, 87, 0), Theme::orange());
}

QColor Scheme::primary(const QPalette& palette, double opacity)
{
    QColor c = palette.color(QPalette::WindowText);
    c.setAlphaF(static_cast<float>(std::clamp(opacity, 0.0, 1.0) * c.alphaF()));
    return c;
}

QColor Scheme::text(const QPalette& palette, Text level)
{
    switch (level) {
    case Text::Primary:
        return palette.color(QPalette::WindowText);
    case Text::Secondary:
        return faded(palette, 0.55, 4.5);
    case Text::Tertiary:
        return faded(palette, 0.35, 3.0);
    }
    return palette.color(QPalette::WindowText);
}

double Scheme::contrast(const QColor& foreground, const QColor& background)
{
    const double a = luminance(foreground) + 0.05;
    const double b = luminance(background) + 0.05;
    return std::max(a, b) / std::min(a, b);
}

QColor Scheme::over(const QColor& colour, const QColor& background)
{
    const double a = colour.alphaF();
    const auto mix = [a](double f, double b) { return f * a + b * (1 - a); };
    return QColor::fromRgbF(static_cast<float>(mix(colour.redF(), background.redF())),
                            static_cast<float>(mix(colour.greenF(), background.greenF())),
                            static_cast<float>(mix(colour.blueF(), background.blueF())));
}

QPalette Scheme::light()
{
    QPalette p;
    const QColor text(29, 29, 31);
    p.setColor(QPalette::Window, QColor(242, 242, 247));
    p.setColor(QPalette::Base, Qt::white);
    p.setColor(QPalette::AlternateBase, QColor(246, 246, 248));
    p.setColor(QPalette::Button, QColor(250, 250, 252));
    for (const auto role :
         {QPalette::WindowText, QPalette::Text, QPalette::ButtonText, QPalette::ToolTipText})
        p.setColor(role, text);
    p.setColor(QPalette::ToolTipBase, Qt::white);
    p.setColor(QPalette::Highlight, Theme::violet());
    p.setColor(QPalette::HighlightedText, Qt::white);
    p.setColor(QPalette::PlaceholderText, QColor(29, 29, 31, 110));
    p.setColor(QPalette::Mid, QColor(200, 200, 206));
    return p;
}

QPalette Scheme::dark()
{
    QPalette p = Theme::darkPalette();
    p.setColor(QPalette::Window, QColor(28, 28, 30));
    p.setColor(QPalette::Base, QColor(44, 44, 46));
    p.setColor(QPalette::AlternateBase, QColor(36, 36, 38));
    p.setColor(QPalette::Mid, QColor(72, 72, 74));
    return p;
}
