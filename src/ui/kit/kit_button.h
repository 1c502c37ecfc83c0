#pragma once

#include "ui/kit/state_fill.h"
#include "ui/kit/symbol.h"

#include <QAbstractButton>

class QBrush;
class QPainter;
class QPainterPath;

#include <optional>

// What the kit's buttons share: Tab reaches them, Space and Enter press them, hover is tracked,
// the fills of hover, press and disabled come from one painter, and the focus ring shows only when
// the keyboard brought the focus.
class KitButton : public QAbstractButton {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(KitButton)

public:
    explicit KitButton(QWidget* parent = nullptr);

    bool hovering() const { return m_hovering; }
    bool keyboardFocus() const { return m_keyboardFocus && hasFocus(); }
    // A symbol before the text (or alone, for icon buttons).
    void setSymbol(std::optional<Symbol> symbol);
    std::optional<Symbol> symbol() const { return m_symbol; }
    // Checked, unless the kind of button marks its choice otherwise.
    virtual bool chosen() const { return isChecked(); }
    // The fill's opacity in the present state.
    double fillOpacity(const StateFill& fill) const { return fill.opacity(chosen(), isDown(), hovering()); }

protected:
    // Dims the whole paint while disabled, then fills shape with colour at the present state's opacity.
    void paintStateFill(QPainter& painter, const QPainterPath& shape, QColor colour,
                        const StateFill& fill) const;
    // The overlay's round buttons: a faint white circle filling the button, stronger while pressed.
    // A fill of the button's own shows the same in every state; only being disabled dims it.
    void paintCircle(QPainter& painter, const std::optional<QBrush>& ownFill = std::nullopt) const;
    // The symbol (symbolSide wide, then gap) and the text in font: their width, and painted centred in box.
    QSizeF contentSize(const QFont& font, double symbolSide, double gap) const;
    void paintContent(QPainter& painter, const QRectF& box, const QFont& font, const QColor& ink,
                      double symbolSide, double gap) const;

    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    bool m_hovering = false;
    bool m_keyboardFocus = false;
    std::optional<Symbol> m_symbol;
};
