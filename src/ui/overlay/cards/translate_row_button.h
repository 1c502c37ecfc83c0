#pragma once

#include "ui/overlay/cards/card_rules.h"

#include "ui/kit/kit_button.h"

// One language of the translate menu: its code badge, its name, and for the native language a
// gradient badge and a "mine" line. Highlighted only while pressed.
class TranslateRowButton final : public KitButton {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TranslateRowButton)

public:
    TranslateRowButton(const CardRules::TranslateRow& row, QWidget* parent = nullptr);

    const CardRules::TranslateRow& row() const { return m_row; }
    // The localised language name.
    QString name() const { return text(); }
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    CardRules::TranslateRow m_row;
    QString m_mine;
};
