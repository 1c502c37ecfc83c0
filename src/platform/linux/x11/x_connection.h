#pragma once

#include <QByteArray>

using Display = struct _XDisplay;

// A connection of our own to an X server, closed with the object. Qt's connection is xcb's and
// is left alone.
class XConnection final {
public:
    // An empty name means $DISPLAY.
    explicit XConnection(const QByteArray& displayName = {});
    ~XConnection();
    XConnection(const XConnection&) = delete;
    XConnection& operator=(const XConnection&) = delete;

    // Null when the server could not be reached.
    Display* display() const { return m_display; }

private:
    Display* m_display;
};
