#pragma once

#include "ui/kit/kit_button.h"
#include "ui/kit/tween.h"

#include <QColor>
#include <QPalette>

#include <functional>
#include <memory>

// A symbol alone in a 26 × 26 frame; a faint circle shows under the pointer and when pressed.
// Only the circle takes clicks. Having no text, it needs the accessible name it is given.
class IconButton final : public KitButton {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(IconButton)

public:
    static constexpr int side = 26;

    // The symbol's colour for a palette; read at paint time, so it follows the scheme.
    using Ink = std::function<QColor(const QPalette&)>;

    IconButton(Symbol symbol, const QString& accessibleName, QWidget* parent = nullptr);
    ~IconButton() override;

    // Unset, the scheme's primary text colour.
    void setInk(Ink ink);
    // From now on a faded change of look or of being shown runs over durationMs on clock.
    void setFade(Clock& clock, int durationMs, Tween::Curve curve);
    // A new symbol and ink; faded, the old look fades into the new one.
    void setLook(Symbol symbol, Ink ink, bool fade);
    // Shows or hides the button; faded, it fades in or out, staying on screen until it has gone.
    void setShown(bool shown, bool fade);
    // How much of the button shows, from 0 to 1.
    double opacity() const;

    // The circle under the symbol, as opacities of the text colour.
    static constexpr StateFill circleFill{.rest = 0, .hover = 0.08, .pressed = 0.14, .chosen = {}};

    double circleOpacity() const { return fillOpacity(circleFill); }

    QSize sizeHint() const override { return {side, side}; }
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent* event) override;
    bool hitButton(const QPoint& pos) const override;

private:
    struct Fades;

    void paintSymbol(QPainter& painter, Symbol symbol, const Ink& ink) const;

    Ink m_ink;
    std::unique_ptr<Fades> m_fades;
};
