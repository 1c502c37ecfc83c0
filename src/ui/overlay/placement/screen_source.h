#pragma once

#include "ui/overlay/placement/screen_record.h"
#include "ui/overlay/placement/screen_space.h"

#include <QList>
#include <QObject>
#include <QPointF>

// The screens and the pointer in the widget's coordinates, and the conversion to Qt's; the one
// place that knows Qt's y-down screen space. Main thread only.
class ScreenSource : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ScreenSource)

public:
    using QObject::QObject;

    // Primary first; empty when no screen is connected.
    virtual QList<ScreenRecord> screens() const = 0;
    virtual QPointF pointer() const = 0;
    // Valid until the screens change.
    virtual ScreenSpace space() const = 0;

signals:
    // A screen came, went, or changed its geometry, work area or the primary role.
    void screensChanged();
};
