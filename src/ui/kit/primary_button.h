#pragma once

#include "ui/kit/kit_button.h"

#include <QColor>

// The call to action: white semibold text on the brand gradient capsule with a violet shadow, or on
// a capsule and shadow of one colour the host gives; pressed it fades to 85 % and shrinks to 98 %.
class PrimaryButton final : public KitButton {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(PrimaryButton)

public:
    // Room around the capsule for its shadow.
    static constexpr QMargins shadowRoom{6, 3, 6, 9};

    explicit PrimaryButton(const QString& text, QWidget* parent = nullptr,
                           std::optional<Symbol> symbol = std::nullopt);

    // A colour in place of the gradient, e.g. for a call to stop; unset, the gradient.
    void setFill(std::optional<QColor> colour);
    std::optional<QColor> fill() const { return m_fill; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }
    // The capsule in widget coordinates; only it takes clicks.
    QRectF capsule() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    bool hitButton(const QPoint& pos) const override;

private:
    std::optional<QColor> m_fill;
};
