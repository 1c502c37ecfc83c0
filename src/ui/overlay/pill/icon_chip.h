#pragma once

#include "ui/kit/symbol.h"

#include <QAbstractButton>
#include <QBrush>
#include <QColor>
#include <QImage>

#include <optional>

// The widget's small round button: a tinted 11-point symbol on a faint 26-point circle.
class IconChip final : public QAbstractButton {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(IconChip)

public:
    static constexpr int side = 26;

    IconChip(Symbol symbol, const QColor& tint, QWidget* parent = nullptr);

    Symbol symbol() const { return m_symbol; }
    // The circle's fill in place of the faint white; drawn dimmed while the chip is disabled.
    void setFill(const QBrush& fill);
    QSize sizeHint() const override { return {side, side}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Symbol m_symbol;
    QColor m_tint;
    std::optional<QBrush> m_fill;
    QImage m_image; // tinted once per device size
};
