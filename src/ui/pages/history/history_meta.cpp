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
    return KitFont::make(HistoryMeta::points);
}

double itemWidth(const HistoryMeta::Item& item, const QFontMetricsF& metrics)
{
    return item.symbol ? HistoryMeta::points : metrics.horizontalAdvance(item.text);
}

} // namespace

HistoryMeta::HistoryMeta(QWidget* parent)
    : QWidget(parent)
{
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

void HistoryMeta::setItems(const QList<Item>& items)
{
    if (items == m_items)
        return;
    m_items = items;
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
    const QFontMetricsF metrics(metaFont());
    double width = 0;
    for (const Item& item : m_items)
        width += itemWidth(item, metrics);
    width += spacing * std::max<qsizetype>(m_items.size() - 1, 0);
    return {int(std::ceil(width)), int(std::ceil(metrics.height()))};
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
    const QFontMetricsF metrics(font);
    const QColor ink = Scheme::text(palette(), Scheme::Text::Tertiary);
    p.setFont(font);
    p.setPen(ink);
    double x = 0;
    const double middle = height() / 2.0;
    for (const Item& item : m_items) {
        const double w = itemWidth(item, metrics);
        if (item.symbol) {
            KitPaint::symbol(p, *item.symbol, QRectF(x, middle - points / 2, points, points), ink);
        } else {
            p.drawText(QRectF(x, 0, w + 1, height()), Qt::AlignLeft | Qt::AlignVCenter, item.text);
        }
        x += w + spacing;
        if (x >= width())
            break;
    }
}
