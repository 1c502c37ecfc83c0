#pragma once

#include "ui/kit/symbol.h"

#include <QAbstractButton>

// A choice row's capsule button: a symbol and a title, on the brand gradient when primary.
class ChoiceActionButton final : public QAbstractButton {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ChoiceActionButton)

public:
    ChoiceActionButton(const QString& title, Symbol symbol, bool primary, QWidget* parent = nullptr);

    void setLook(const QString& title, Symbol symbol);
    Symbol symbol() const { return m_symbol; }
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Symbol m_symbol;
    bool m_primary;
};
