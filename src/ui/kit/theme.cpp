#include "ui/kit/theme.h"

#include <algorithm>

namespace {
bool g_animated = true;
}

QColor Theme::indigo()
{
    return QColor::fromRgbF(0.31f, 0.27f, 0.90f);
}

QColor Theme::violet()
{
    return QColor::fromRgbF(0.55f, 0.36f, 0.96f);
}

QColor Theme::pink()
{
    return QColor::fromRgbF(0.93f, 0.28f, 0.60f);
}

QLinearGradient Theme::gradient(const QRectF& shape)
{
    QLinearGradient g(shape.topLeft(), shape.bottomRight());
    g.setColorAt(0, indigo());
    g.setColorAt(0.5, violet());
    g.setColorAt(1, pink());
    return g;
}

QColor Theme::cardFill(const QPalette& palette)
{
    return palette.color(QPalette::Base);
}

QColor Theme::stroke(const QPalette& palette)
{
    QColor c = palette.color(QPalette::WindowText);
    c.setAlphaF(0.07f);
    return c;
}

QColor Theme::white(double opacity)
{
    return QColor::fromRgbF(1, 1, 1, static_cast<float>(std::clamp(opacity, 0.0, 1.0)));
}

QColor Theme::red()
{
    return QColor(255, 69, 58);
}

QColor Theme::green()
{
    return QColor(48, 209, 88);
}

QColor Theme::orange()
{
    return QColor(255, 159, 10);
}

QPalette Theme::darkPalette()
{
    QPalette p;
    const QColor text = white(0.85);
    p.setColor(QPalette::Window, QColor(30, 30, 30));
    p.setColor(QPalette::Base, QColor(30, 30, 30));
    p.setColor(QPalette::AlternateBase, QColor(40, 40, 40));
    p.setColor(QPalette::Button, QColor(50, 50, 50));
    p.setColor(QPalette::WindowText, text);
    p.setColor(QPalette::Text, text);
    p.setColor(QPalette::ButtonText, text);
    p.setColor(QPalette::ToolTipBase, QColor(40, 40, 40));
    p.setColor(QPalette::ToolTipText, text);
    p.setColor(QPalette::Highlight, violet());
    p.setColor(QPalette::HighlightedText, Qt::white);
    p.setColor(QPalette::PlaceholderText, white(0.4));
    return p;
}

bool Theme::animated()
{
    return g_animated;
}

void Theme::setAnimated(bool animated)
{
    g_animated = animated;
}
