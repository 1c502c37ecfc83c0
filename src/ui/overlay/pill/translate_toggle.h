#pragma once

#include "core/base/clock.h"
#include "ui/kit/kit_button.h"
#include "ui/kit/tween.h"

// The idle toolbar's translate button: a book and a chevron that points to where the menu is.
class TranslateToggle final : public KitButton {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TranslateToggle)

public:
    static constexpr int height = 26;

    explicit TranslateToggle(Clock& clock, QWidget* parent = nullptr);

    void setOpen(bool open);
    bool open() const { return m_open; }
    // The capsule's white level: 0.08 closed, 0.14 open, sprung in between.
    double fill() const { return m_fill.value(); }
    bool animating() const { return m_fill.running(); }
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    bool m_open = false;
    Tween m_fill;
};
