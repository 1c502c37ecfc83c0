#pragma once

#include "ui/kit/shadow_caster.h"

#include <QWidget>

class QVBoxLayout;

// The card look of the main window and its pages: the scheme's control fill in a rounded
// rectangle of radius 16 with a hairline border and a faint shadow, which the CardShadows of the
// page behind it draws. A card spans the width it is offered, its content at the leading edge.
class Card final : public QWidget, public ShadowCaster {
    Q_OBJECT
    Q_INTERFACES(ShadowCaster)
    Q_DISABLE_COPY_MOVE(Card)

public:
    static constexpr double radius = 16;
    // Black at 4 %, blur radius 10, three points down.
    static ShadowLook shadowLook();

    explicit Card(int padding, QWidget* parent = nullptr);

    QVBoxLayout* content() const { return m_content; }
    QList<Cast> shadows() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QVBoxLayout* m_content;
};
