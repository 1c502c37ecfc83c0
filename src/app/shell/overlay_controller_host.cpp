#include "app/shell/overlay_controller_host.h"

#include "ui/overlay/placement/overlay_controller.h"
#include "ui/overlay/placement/overlay_panel.h"

#include <QWidget>

void OverlayControllerHost::reshape()
{
    m_overlay.evaluate();
}

bool OverlayControllerHost::panelHoldsFocus() const
{
    return m_overlay.panelHasFocus();
}

void OverlayControllerHost::resignFocus()
{
    // The panel is built never to take focus; should a window manager hand it over anyway, give it up.
    if (!m_overlay.panelHasFocus())
        return;
    if (QWidget* focused = m_overlay.panel().focusWidget())
        focused->clearFocus();
    m_overlay.panel().clearFocus();
}
