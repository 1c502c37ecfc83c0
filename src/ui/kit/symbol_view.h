#pragma once

#include "ui/kit/symbol.h"

#include <QBrush>
#include <QImage>
#include <QWidget>

// A symbol of a given size in points, filled with a colour or a gradient.
class SymbolView final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SymbolView)

public:
    SymbolView(Symbol symbol, int points, const QBrush& brush, QWidget* parent = nullptr);

    Symbol symbol() const { return m_symbol; }
    QSize sizeHint() const override { return {m_points, m_points}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Symbol m_symbol;
    int m_points;
    QBrush m_brush;
    QImage m_image; // tinted once per device size
};
