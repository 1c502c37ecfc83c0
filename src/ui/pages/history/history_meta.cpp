#include "ui/pages/history/history_meta.h"

#include "ui/kit/kit_font.h"
#include "ui/kit/kit_paint.h"
#include "ui/kit/scheme.h"

#include <QFontMetricsF>
#include <QPainter>

#include <cmath>

namespace {

QFont metaFont()
{
    return KitFont::of(HistoryMeta::role);
}

double itemWidth(const HistoryMeta::Item& item, const QFontMetricsF& metrics)
{
    return item.symbol ? HistoryMeta::symbolSide : metrics.horizontalAdvance(item.text);
}

} // namespace

HistoryMeta::HistoryMeta(QWidget* parent)
    : QWidget(parent)
    , m_hint(0, int(std::ceil(QFontMetricsF(metaFont()).height())))
{
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

void HistoryMeta::setItems(const QList<Item>& items)
{
    if (items == m_items)
        return;
    m_items = items;
    const QFontMetricsF metrics(metaFont());
    m_widths.clear();
    double width = 0;
    for (const Item& item : m_items) {
        m_widths << itemWidth(item, metrics);
        width += m_widths.last();
    }
    width += spacing * std::max<qsizetype>(m_items.size() - 1, 0);
    m_hint = QSize(int(std::ceil(width)), int(std::ceil(metrics.height())));
    updateGeometry();
    update();
}

QString HistoryMeta::spoken() const
{
    QStringList texts;
    for (const Item& item : m_items) {
        if (!item.symbol && item.text != QStringLiteral("\u00b7"))
            texts << item.text;
    }
    return texts.join(QStringLiteral(", "));
}

QSize HistoryMeta::sizeHint() const
{
    return m_hint;
}

QSize HistoryMeta::minimumSizeHint() const
{
    // A narrow row cuts the line at its end rather than holding the row open.
    return {0, sizeHint().height()};
}

void HistoryMeta::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QFont font = metaFont();
    const QColor ink = Scheme::text(palette(), Scheme::Text::Tertiary);
    p.setFont(font);
    p.setPen(ink);
    double x = 0;
    const double middle = height() / 2.0;
    for (qsizetype i = 0; i < m_items.size(); ++i) {
        const Item& item = m_items.at(i);
        const double w = m_widths.at(i);
        if (item.symbol) {
            KitPaint::symbol(p, *item.symbol, QRectF(x, middle - symbolSide / 2, symbolSide, symbolSide),
                             ink);
        } else {
            p.drawText(QRectF(x, 0, w + 1, height()), Qt::AlignLeft | Qt::AlignVCenter, item.text);
        }
        x += w + spacing;
        if (x >= width())
            break;
    }
}
