#pragma once

#include "ui/kit/symbol.h"

#include <QAbstractButton>
#include <QImage>

// The cards' small round button (close, copy): a 9-point white symbol on an 18-point circle.
class CardIconButton final : public QAbstractButton {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CardIconButton)

public:
    static constexpr int side = 18;

    CardIconButton(Symbol symbol, double opacity, QWidget* parent = nullptr);

    Symbol symbol() const { return m_symbol; }
    QSize sizeHint() const override { return {side, side}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Symbol m_symbol;
    double m_opacity;
    QImage m_image;
};
