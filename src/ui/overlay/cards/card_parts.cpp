#include "ui/overlay/cards/card_parts.h"

#include "ui/kit/line_limited_label.h"
#include "ui/kit/symbol_view.h"
#include "ui/kit/theme.h"

#include <QFontMetrics>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>

namespace {

void style(QLabel* l, TextRole role, const QColor& color, bool selectable)
{
    l->setFont(KitFont::of(role));
    l->setTextFormat(Qt::PlainText);
    QPalette palette = l->palette();
    palette.setColor(QPalette::WindowText, color);
    palette.setColor(QPalette::Highlight, Theme::violet());
    palette.setColor(QPalette::HighlightedText, Qt::white);
    l->setPalette(palette);
    if (selectable) {
        l->setTextInteractionFlags(Qt::TextSelectableByMouse);
        l->setCursor(Qt::IBeamCursor);
    } else {
        // Clicks and drags go through to the card and the widget beneath.
        l->setAttribute(Qt::WA_TransparentForMouseEvents);
    }
    l->setFocusPolicy(Qt::NoFocus);
}

} // namespace

QLabel* CardParts::label(const QString& text, TextRole role, const QColor& color, QWidget* parent,
                         bool selectable)
{
    auto* l = new QLabel(text, parent);
    style(l, role, color, selectable);
    return l;
}

LineLimitedLabel* CardParts::wrapped(const QString& text, TextRole role, const QColor& color, int maxLines,
                                     QWidget* parent, bool selectable)
{
    auto* l = new LineLimitedLabel(maxLines, parent);
    style(l, role, color, selectable);
    l->setFullText(text);
    return l;
}

QWidget* CardParts::divider(double opacity, QWidget* parent)
{
    auto* line = new QWidget(parent);
    line->setFixedHeight(1);
    line->setAutoFillBackground(true);
    QPalette palette = line->palette();
    // Half a point: the hairline is a full pixel at half the opacity.
    palette.setColor(QPalette::Window, Theme::white(opacity / 2));
    line->setPalette(palette);
    line->setAttribute(Qt::WA_TransparentForMouseEvents);
    return line;
}

QWidget* CardParts::gradientSymbol(Symbol symbol, int points, QWidget* parent)
{
    QLinearGradient fill(0, 0, 0, 1);
    fill.setCoordinateMode(QGradient::ObjectBoundingMode);
    fill.setColorAt(0, Theme::indigo());
    fill.setColorAt(0.5, Theme::violet());
    fill.setColorAt(1, Theme::pink());
    return new SymbolView(symbol, points, fill, parent);
}

void CardParts::paintShell(QPainter& painter, const QRectF& rect)
{
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    QColor fill = QColor::fromRgbF(0.1f, 0.1f, 0.1f);
    fill.setAlphaF(0.97f);
    painter.setBrush(fill);
    painter.drawRoundedRect(rect, radius, radius);
}

QRectF CardParts::barRect(const QRectF& card, double remaining)
{
    const QRectF strip(card.left() + 10, card.bottom() - 2 - 3, card.width() - 20, 3);
    const double width = std::max(0.0, strip.width() * remaining);
    return {strip.right() - width, strip.top(), width, strip.height()};
}

void CardParts::paintChrome(QPainter& painter, const QRectF& rect, double remaining, bool timed)
{
    painter.setRenderHint(QPainter::Antialiasing);
    const double line = timed ? 2 : 0.5;
    QPen pen(Theme::white(timed ? 0.16 : 0.1), line, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin);
    pen.setMiterLimit(10);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    // Stroked inside the bounds, as the shape's own border.
    const QRectF inner = rect.adjusted(line / 2, line / 2, -line / 2, -line / 2);
    painter.drawRoundedRect(inner, radius - line / 2, radius - line / 2);
    if (!timed)
        return;
    const QRectF bar = barRect(rect, remaining);
    if (bar.width() <= 0)
        return;
    painter.setPen(Qt::NoPen);
    painter.setBrush(Theme::gradient(QRectF(rect.left() + 10, bar.top(), rect.width() - 20, bar.height())));
    painter.drawRoundedRect(bar, bar.height() / 2, bar.height() / 2);
}
