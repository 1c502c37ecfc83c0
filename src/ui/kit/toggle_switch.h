#pragma once

#include "ui/kit/kit_button.h"

// An on/off switch: a capsule track, violet when on, with a white knob at the end it stands for.
// Space, Enter and a click flip it; assistive technology sees a checkable button.
class ToggleSwitch final : public KitButton {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ToggleSwitch)

public:
    static constexpr QSize trackSize{38, 22};

    explicit ToggleSwitch(const QString& accessibleName, QWidget* parent = nullptr);

    QSize sizeHint() const override { return trackSize; }
    QSize minimumSizeHint() const override { return trackSize; }

protected:
    void paintEvent(QPaintEvent* event) override;
};
