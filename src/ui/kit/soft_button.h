#pragma once

#include "ui/kit/kit_button.h"

#include <QColor>

// The quiet button: medium text on a faint capsule of the text colour. A long label widens the
// button; it never wraps or truncates.
class SoftButton final : public KitButton {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SoftButton)

public:
    explicit SoftButton(const QString& text, QWidget* parent = nullptr,
                        std::optional<Symbol> symbol = std::nullopt);

    // The capsule, as opacities of the text colour.
    static constexpr StateFill capsuleFill{.rest = 0.07, .hover = 0.10, .pressed = 0.13, .chosen = {}};

    // Destructive buttons give a red foreground; unset, the scheme's text colour.
    void setForeground(std::optional<QColor> colour);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::optional<QColor> m_foreground;
};
