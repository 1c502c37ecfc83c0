#include "ui/kit/line_limited_label.h"

#include <QEvent>
#include <QFontMetricsF>
#include <QTextLayout>

#include <algorithm>
#include <cmath>

namespace {

// QTextLayout breaks lines only at the Unicode separator, not at '\n' as QLabel does.
QString withLineSeparators(QString text)
{
    return text.replace(QLatin1Char('\n'), QChar::LineSeparator);
}

// A word longer than the line is broken rather than left running past the edge, where it is cut.
void wrapAnywhere(QTextLayout& layout)
{
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
}

QString trimmedEnd(const QString& line)
{
    qsizetype end = line.size();
    while (end > 0 && (line.at(end - 1).isSpace() || line.at(end - 1) == QChar::LineSeparator))
        --end;
    return line.left(end);
}

int fits = 0;

} // namespace

LineLimitedLabel::LineLimitedLabel(int maxLines, QWidget* parent)
    : QLabel(parent)
    , m_maxLines(std::max(maxLines, 1))
{
    setTextFormat(Qt::PlainText);
    setWordWrap(true);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

void LineLimitedLabel::setFullText(const QString& text)
{
    if (text == m_full && !text.isEmpty())
        return;
    m_full = text;
    m_heights.clear();
    m_fits.clear();
    refit();
}

QString LineLimitedLabel::fit(const QString& text, const QFont& font, qreal width, int maxLines)
{
    if (text.isEmpty() || width <= 0)
        return text;
    const QString source = withLineSeparators(text);
    QTextLayout layout(source, font);
    wrapAnywhere(layout);
    QStringList lines;
    qsizetype lastStart = 0;
    bool cut = false;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        if (lines.size() == maxLines) {
            cut = true;
            break;
        }
        lastStart = line.textStart();
        lines << trimmedEnd(source.mid(line.textStart(), line.textLength()));
    }
    layout.endLayout();
    if (!cut)
        return text;
    // The last line carries on with the rest of the text, shortened to end in an ellipsis.
    QString rest = source.mid(lastStart).trimmed();
    rest.replace(QChar::LineSeparator, QLatin1Char(' '));
    const QFontMetricsF metrics(font);
    // Room for the ellipsis even when the rest would otherwise just fit.
    lines.last() = metrics.elidedText(rest + QChar(0x2026), Qt::ElideRight, width);
    return lines.join(QLatin1Char('\n'));
}

int LineLimitedLabel::fitsMade()
{
    return fits;
}

QString LineLimitedLabel::fitted(int inner) const
{
    const auto known = m_fits.constFind(inner);
    if (known != m_fits.cend())
        return *known;
    const QString shown = fit(m_full, font(), inner, m_maxLines);
    ++fits;
    m_fits.insert(inner, shown);
    return shown;
}

int LineLimitedLabel::heightForWidth(int width) const
{
    const auto known = m_heights.constFind(width);
    if (known != m_heights.cend())
        return *known;
    const QMargins m = contentsMargins();
    const int inner = width - m.left() - m.right();
    const QString shown = fitted(inner);
    QTextLayout layout(withLineSeparators(shown), font());
    wrapAnywhere(layout);
    // Each line as tall as it is laid out when painted: whole pixels, a little more than the font's
    // line spacing, so that a count of lines times the spacing cuts the last line's descenders.
    qreal lines = 0;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(std::max(inner, 1));
        lines += line.height() + QFontMetricsF(font()).leading();
    }
    layout.endLayout();
    lines = std::max(lines, QFontMetricsF(font()).lineSpacing());
    const int height = static_cast<int>(std::ceil(lines)) + m.top() + m.bottom();
    m_heights.insert(width, height);
    return height;
}

QSize LineLimitedLabel::minimumSizeHint() const
{
    // Any width will do: the text is cut to fit rather than holding the card open.
    return {0, QLabel::minimumSizeHint().height()};
}

void LineLimitedLabel::resizeEvent(QResizeEvent* event)
{
    QLabel::resizeEvent(event);
    refit();
}

void LineLimitedLabel::changeEvent(QEvent* event)
{
    QLabel::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::ContentsRectChange) {
        m_heights.clear();
        m_fits.clear();
        refit();
    }
}

void LineLimitedLabel::refit()
{
    const int width = contentsRect().width();
    const QString shown = width > 0 ? fitted(width) : m_full;
    if (shown != text())
        setText(shown);
}
