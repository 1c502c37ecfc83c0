#pragma once

#include "ui/kit/kit_button.h"

// A choice row's capsule button: a symbol and a title, on the brand gradient when primary.
class ChoiceActionButton final : public KitButton {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ChoiceActionButton)

public:
    ChoiceActionButton(const QString& title, Symbol symbol, bool primary, QWidget* parent = nullptr);

    void setLook(const QString& title, Symbol symbol);
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    bool m_primary;
};
