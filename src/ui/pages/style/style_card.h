#pragma once

#include "ui/kit/kit_button.h"
#include "ui/pages/style/style_option.h"

class LineLimitedLabel;
class QGraphicsEffect;
class KitLabel;

// One writing style as a card of the style grid: its tile, title, description and a before/after
// example. Checked while it is the default style; a click or Space chooses it, but only the
// configuration unchecks it, so clicking the chosen card keeps it chosen.
class StyleCard final : public KitButton {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(StyleCard)

public:
    static constexpr int minHeight = 250;
    static constexpr int minWidth = 150;
    static constexpr double radius = 16;
    // Room around the card's shape for its shadow and its hover growth.
    static constexpr int margin = 6;

    explicit StyleCard(const StyleOption& option, QWidget* parent = nullptr);

    const StyleOption& option() const { return m_option; }
    // The card's scale, texts included: 1.01 while hovered and not chosen.
    double scale() const;
    // Where the selection mark is painted, at rest.
    QRectF markBox() const;

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
    void followGrowth();

    StyleOption m_option;
    LineLimitedLabel* m_blurb;
    LineLimitedLabel* m_before;
    LineLimitedLabel* m_after;
    QWidget* m_examples;
    QGraphicsEffect* m_growth;
};
