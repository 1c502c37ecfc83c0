#include "ui/overlay/placement/qt_screen_source.h"

#include "core/model/display_id.h"

#include <QCursor>
#include <QGuiApplication>
#include <QScreen>

QtScreenSource::QtScreenSource(QObject* parent)
    : ScreenSource(parent)
{
    for (QScreen* screen : QGuiApplication::screens())
        watch(screen);
    connect(qGuiApp, &QGuiApplication::screenAdded, this, [this](QScreen* screen) {
        watch(screen);
        emit screensChanged();
    });
    // Qt has taken the screen out of its list before it says so.
    connect(qGuiApp, &QGuiApplication::screenRemoved, this, &ScreenSource::screensChanged);
    connect(qGuiApp, &QGuiApplication::primaryScreenChanged, this, &ScreenSource::screensChanged);
}

void QtScreenSource::watch(QScreen* screen)
{
    connect(screen, &QScreen::geometryChanged, this, &ScreenSource::screensChanged);
    connect(screen, &QScreen::availableGeometryChanged, this, &ScreenSource::screensChanged);
}

ScreenSpace QtScreenSource::space() const
{
    const QScreen* primary = QGuiApplication::primaryScreen();
    if (!primary)
        return ScreenSpace();
    const QRect g = primary->geometry();
    return ScreenSpace(g.y() + g.height());
}

QList<ScreenRecord> QtScreenSource::screens() const
{
    const ScreenSpace flip = space();
    QList<ScreenRecord> records;
    for (const QScreen* screen : QGuiApplication::screens()) {
        records.append({.id = DisplayId::of(screen->name(), screen->serialNumber()),
                        .frame = flip.fromGlobal(screen->geometry()),
                        .visibleFrame = flip.fromGlobal(screen->availableGeometry())});
    }
    return records;
}

QPointF QtScreenSource::pointer() const
{
    return space().fromGlobal(QCursor::pos());
}
