#pragma once

#include "ui/kit/kit_font.h"
#include "ui/kit/scheme.h"

#include <QLabel>

#include <functional>

// A label set in a role of the type scale whose colour follows the scheme: a text level, or a colour the host
// derives from the palette (the system greens and oranges). Re-coloured on every palette change.
class KitLabel final : public QLabel {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(KitLabel)

public:
    using Ink = std::function<QColor(const QPalette&)>;

    KitLabel(const QString& text, TextRole role, Scheme::Text level = Scheme::Text::Primary,
             QWidget* parent = nullptr);
    // A label coloured by ink, e.g. Scheme::green.
    KitLabel(const QString& text, TextRole role, Ink ink, QWidget* parent = nullptr);

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
