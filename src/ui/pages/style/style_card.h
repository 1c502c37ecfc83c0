#pragma once

#include "ui/kit/kit_button.h"
#include "ui/kit/shadow_caster.h"
#include "ui/kit/tween.h"
#include "ui/pages/style/style_option.h"

class LineLimitedLabel;
class QGraphicsEffect;
class KitLabel;

// One writing style as a card of the style grid: its tile, title, description and a before/after
// example. Checked while it is the default style; a click or Space chooses it, but only the
// configuration unchecks it, so clicking the chosen card keeps it chosen. Taking or giving up the
// choice springs from one look to the other; the pointer's coming and going eases.
class StyleCard final : public KitButton, public ShadowCaster {
    Q_OBJECT
    Q_INTERFACES(ShadowCaster)
    Q_DISABLE_COPY_MOVE(StyleCard)

public:
    static constexpr int minHeight = 250;
    static constexpr int minWidth = 150;
    static constexpr double radius = 16;
    // Room around the card's shape for its focus ring; the page draws the shadow.
    static constexpr int margin = 4;

    StyleCard(Clock& clock, const StyleOption& option, QWidget* parent = nullptr);

    const StyleOption& option() const { return m_option; }
    // The card's scale, texts included: 1.01 while hovered and not chosen.
    double scale() const;
    // Where the selection mark is painted, at rest.
    QRectF markBox() const;
    // How far the card has taken the chosen look and the hovered one, from 0 to 1.
    double chosenLook() const;
    double hoverLook() const;
    QList<Cast> shadows() const override;

    // Three cards share a narrow column: the texts wrap or shorten, so the card asks for little.
    QSize sizeHint() const override { return {minWidth + 2 * margin, minHeight + 2 * margin}; }
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void nextCheckState() override {}
    void changeEvent(QEvent* event) override;

private:
    void recolour();
    void followLook();

    StyleOption m_option;
    LineLimitedLabel* m_blurb;
    LineLimitedLabel* m_before;
    LineLimitedLabel* m_after;
    QWidget* m_examples;
    QGraphicsEffect* m_growth;
    Tween m_chosen;
    Tween m_hover;
};
