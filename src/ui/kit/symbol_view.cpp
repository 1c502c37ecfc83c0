#include "ui/kit/symbol_view.h"

#include <QPainter>

SymbolView::SymbolView(Symbol symbol, int points, const QBrush& brush, QWidget* parent)
    : QWidget(parent)
    , m_symbol(symbol)
    , m_points(points)
    , m_brush(brush)
{
    setFixedSize(points, points);
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void SymbolView::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const qreal dpr = devicePixelRatioF();
    const QSize device = (QSizeF(size()) * dpr).toSize();
    if (m_image.size() != device) {
        m_image = SymbolArt::tinted(m_symbol, device, m_brush);
        m_image.setDevicePixelRatio(dpr);
    }
    p.drawImage(QPointF(0, 0), m_image);
}
