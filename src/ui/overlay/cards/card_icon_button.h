#pragma once

#include "ui/kit/kit_button.h"

#include <QImage>

// The cards' small round button (close, copy): a 9-point white symbol on an 18-point circle.
class CardIconButton final : public KitButton {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CardIconButton)

public:
    static constexpr int side = 18;

    // Having no text, it needs the accessible name it is given.
    CardIconButton(Symbol symbol, const QString& accessibleName, double opacity, QWidget* parent = nullptr);

    // The close button every card has in its corner.
    static CardIconButton* close(QWidget* parent);

    QSize sizeHint() const override { return {side, side}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    double m_opacity;
    QImage m_image;
};
