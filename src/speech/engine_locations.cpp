#include "engine_locations.h"

#include <QCoreApplication>
#include <QDir>

EngineLocations EngineLocations::installed()
{
    EngineLocations locations;
    locations.resourceDir =
        QDir::cleanPath(QCoreApplication::applicationDirPath() + QStringLiteral("/../share/quenda"));
    return locations;
}
