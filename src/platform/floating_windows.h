#pragma once

#include <QtGlobal>

// What a floating panel that never takes the focus needs of the window system beyond Qt. Windows are
// named by their native id (QWidget::winId); main thread only.
class FloatingWindows {
public:
    virtual ~FloatingWindows() = default;

    // Asks for the window on every workspace; false when the window system cannot be asked. Window
    // managers forget this when a window is hidden, so it is asked before each show.
    virtual bool keepOnAllWorkspaces(quintptr window) = 0;
    // Whether translucent pixels of the window are blended by a compositor; where none runs they show
    // black, and the panel cuts its shape instead.
    virtual bool compositing(quintptr window) const = 0;
    // Whether the panel keeps out of the window manager's hands: where the manager gives the focus
    // to a window that asks for none (sway's XWayland), the panel places and stacks itself.
    virtual bool outsideManager() const = 0;
};
