#include "platform/linux/x11/x_connection.h"

#include <X11/Xlib.h>

XConnection::XConnection(const QByteArray& displayName)
    : m_display(XOpenDisplay(displayName.isEmpty() ? nullptr : displayName.constData()))
{
}

XConnection::~XConnection()
{
    if (m_display)
        XCloseDisplay(m_display);
}
