#pragma once

#include "ui/kit/tween.h"

#include <QWidget>

class QGraphicsOpacityEffect;

// Opens and closes over one child: its height runs between none and the child's own on the clock,
// while the child keeps its height, slides in under the top edge and fades in. Closed, it is hidden.
class Reveal final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(Reveal)

public:
    // Starts closed; takes the child.
    Reveal(Clock& clock, QWidget* child, QWidget* parent = nullptr);

    void setOpen(bool open, int durationMs, Tween::Curve curve);
    bool isOpen() const { return m_open.target() > 0; }
    // How far it is open, from 0 to 1.
    double openness() const;
    QWidget* child() const { return m_child; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    int childHeight(int width) const;
    void follow();

    QWidget* m_child;
    QGraphicsOpacityEffect* m_fade;
    Tween m_open;
};
