#include "ui/kit/scheme_symbol.h"

#include "ui/kit/kit_paint.h"

#include <QPainter>

SchemeSymbol::SchemeSymbol(Symbol symbol, int side, Ink ink, QWidget* parent)
    : QWidget(parent)
    , m_symbol(symbol)
    , m_ink(std::move(ink))
{
    setFixedSize(side, side);
}

void SchemeSymbol::set(Symbol symbol, Ink ink)
{
    m_symbol = symbol;
    m_ink = std::move(ink);
    update();
}

void SchemeSymbol::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    KitPaint::symbol(p, m_symbol, QRectF(rect()), m_ink(palette()));
}
