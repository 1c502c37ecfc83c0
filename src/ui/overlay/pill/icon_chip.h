#pragma once

#include "ui/kit/kit_button.h"

#include <QBrush>
#include <QColor>
#include <QImage>

#include <optional>

// The widget's small round button: a tinted 11-point symbol on a faint 26-point circle.
class IconChip final : public KitButton {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(IconChip)

public:
    static constexpr int side = 26;

    // Having no text, it needs the accessible name it is given.
    IconChip(Symbol symbol, const QString& accessibleName, const QColor& tint, QWidget* parent = nullptr);

    // The circle's fill in place of the faint white; drawn dimmed while the chip is disabled.
    void setFill(const QBrush& fill);
    QSize sizeHint() const override { return {side, side}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor m_tint;
    std::optional<QBrush> m_fill;
    QImage m_image; // tinted once per device size
};
