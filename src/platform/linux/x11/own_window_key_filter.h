#pragma once

#include "platform/key_source.h"

#include <QObject>

class QKeyEvent;

// Key events, clicks and wheel turns of this program's own windows, seen by a filter on the
// application object: the fallback when the desktop delivers no global key events.
class OwnWindowKeyFilter final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(OwnWindowKeyFilter)

public:
    // Reports to listener from now on; with no application object there is nothing to see.
    explicit OwnWindowKeyFilter(KeySource::Listener& listener);

    // The key of an event, by its X keycode (the native scan code under xcb and Wayland alike).
    static PhysicalKey classify(const QKeyEvent& event);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    KeySource::Listener& m_listener;
};
