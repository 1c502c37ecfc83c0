#pragma once

#include "ui/kit/scheme.h"

#include <QLabel>

#include <functional>

// A label in the kit's font whose colour follows the scheme: a text level, or a colour the host
// derives from the palette (the system greens and oranges). Re-coloured on every palette change.
class KitLabel final : public QLabel {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(KitLabel)

public:
    using Ink = std::function<QColor(const QPalette&)>;

    KitLabel(const QString& text, double points, QFont::Weight weight = QFont::Normal,
             Scheme::Text level = Scheme::Text::Primary, QWidget* parent = nullptr);
    // A label coloured by ink, e.g. Scheme::green.
    KitLabel(const QString& text, double points, QFont::Weight weight, Ink ink, QWidget* parent = nullptr);

    // Wraps to its full height instead of growing wide.
    KitLabel* wrapping();
    QColor ink() const;

protected:
    void changeEvent(QEvent* event) override;

private:
    void recolour();

    Ink m_ink;
    bool m_recolouring = false;
};
