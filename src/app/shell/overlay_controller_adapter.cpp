#include "app/shell/overlay_controller_adapter.h"

#include "ui/overlay/placement/overlay_controller.h"
#include "ui/overlay/placement/overlay_panel.h"

#include <QWidget>

void OverlayControllerAdapter::reshape()
{
    m_overlay.evaluate();
}

bool OverlayControllerAdapter::panelHoldsFocus() const
{
    return m_overlay.panelHasFocus();
}

void OverlayControllerAdapter::resignFocus()
{
    // The panel is built never to take focus; should a window manager hand it over anyway, give it up.
    if (!m_overlay.panelHasFocus())
        return;
    if (QWidget* focused = m_overlay.panel().focusWidget())
        focused->clearFocus();
    m_overlay.panel().clearFocus();
}
