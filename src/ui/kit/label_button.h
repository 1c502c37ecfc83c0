#pragma once

#include "ui/kit/kit_button.h"

#include <QColor>

// The kit's button with a label, a symbol before it where given, in one of two styles. A long label
// widens the button; it never wraps or truncates.
class LabelButton final : public KitButton {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(LabelButton)

public:
    enum class Style {
        // The call to action: white semibold text on the brand gradient capsule with a violet shadow;
        // pressed it fades to 85 % and shrinks to 98 %. Only the capsule takes clicks.
        Primary,
        // The quiet button: medium text on a faint capsule of the text colour.
        Soft,
    };

    // Room around a primary capsule for its shadow.
    static constexpr QMargins shadowRoom{6, 3, 6, 9};
    // The soft capsule, as opacities of the text colour.
    static constexpr StateFill softFill{.rest = 0.07, .hover = 0.10, .pressed = 0.13, .chosen = {}};

    LabelButton(Style style, const QString& text, QWidget* parent = nullptr,
                std::optional<Symbol> symbol = std::nullopt);

    Style style() const { return m_style; }
    // A colour in place of the style's own: a primary capsule and its shadow (a call to stop), a soft
    // label (a destructive action); unset, the gradient or the scheme's text colour.
    void setColour(std::optional<QColor> colour);
    std::optional<QColor> colour() const { return m_colour; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }
    // The capsule in widget coordinates.
    QRectF capsule() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    bool hitButton(const QPoint& pos) const override;

private:
    void paintPrimary(QPainter& p);
    void paintSoft(QPainter& p);

    const Style m_style;
    std::optional<QColor> m_colour;
};
