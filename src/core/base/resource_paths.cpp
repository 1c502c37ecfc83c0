#include "core/base/resource_paths.h"

#include <QCoreApplication>
#include <QDir>

QString ResourcePaths::directory()
{
    if (!QCoreApplication::instance())
        return {};
    return QDir::cleanPath(QCoreApplication::applicationDirPath() + QStringLiteral("/../share/quenda"));
}
