#pragma once

#include "ui/overlay/placement/screen_source.h"

class QScreen;

// The screens of the running QGuiApplication and the pointer from QCursor.
class QtScreenSource final : public ScreenSource {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(QtScreenSource)

public:
    explicit QtScreenSource(QObject* parent = nullptr);

    QList<ScreenRecord> screens() const override;
    QPointF pointer() const override;
    ScreenSpace space() const override;

private:
    void watch(QScreen* screen);
};
