#pragma once

#include "ui/kit/symbol.h"

#include <QWidget>

#include <functional>

// A symbol of a fixed side tinted by the scheme at paint time, so it follows a scheme change.
class SchemeSymbol final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SchemeSymbol)

public:
    using Ink = std::function<QColor(const QPalette&)>;

    SchemeSymbol(Symbol symbol, int side, Ink ink, QWidget* parent = nullptr);

    Symbol symbol() const { return m_symbol; }
    void set(Symbol symbol, Ink ink);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Symbol m_symbol;
    Ink m_ink;
};
