#include "ui/overlay/placement/pill_layout.h"

#include <QFontMetricsF>
#include <QTextLayout>

#include <algorithm>
#include <cmath>

namespace {

// The text's room in a bar of this width beside the symbol.
qreal textWidth(int barWidth)
{
    return barWidth - 2 * PillLayout::padding - PillLayout::symbolSide - PillLayout::spacing;
}

qreal advance(const QFont& font, const QString& text)
{
    return std::ceil(QFontMetricsF(font).horizontalAdvance(text));
}

} // namespace

PillLayout::PillLayout()
    : m_status(KitFont::of(statusRole))
    , m_text(KitFont::of(textRole))
    , m_message(KitFont::of(messageRole))
{
}

int PillLayout::messageLines(const QString& message, int barWidth) const
{
    // Broken as the row's wrapped label breaks it: at word boundaries, a word too long anywhere.
    QString text = message;
    QTextLayout layout(text.replace(QLatin1Char('\n'), QChar::LineSeparator), m_message);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    int lines = 0;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(textWidth(barWidth));
        ++lines;
    }
    layout.endLayout();
    return std::max(lines, 1);
}

QSize PillLayout::messageBar(const QString& message) const
{
    if (messageLines(message, barWidth) == 1)
        return {barWidth, barHeight};
    int width = wideBarWidth;
    int lines = messageLines(message, width);
    if (lines > maxMessageLines) {
        width = messageBarWidth;
        lines = messageLines(message, width);
    }
    return {width,
            barHeight + static_cast<int>(std::lround((lines - 1) * QFontMetricsF(m_message).lineSpacing()))};
}

QSize PillLayout::outcomeBar(const Phase& phase, const QString& status, bool textShown) const
{
    switch (phase.kind()) {
    case Phase::Kind::Done: {
        const qreal row =
            advance(m_status, status) + (textShown ? spacing + advance(m_text, phase.text()) : 0);
        return {row <= textWidth(barWidth) ? barWidth : wideBarWidth, barHeight};
    }
    case Phase::Kind::Failed:
    case Phase::Kind::Notice:
        return messageBar(phase.message());
    default:
        return {barWidth, barHeight};
    }
}
