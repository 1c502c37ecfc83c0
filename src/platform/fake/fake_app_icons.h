#pragma once

#include "platform/app_icons.h"

#include <QHash>
#include <QStringList>

// Icons a test sets per application, each lookup recorded in order.
class FakeAppIcons final : public AppIcons {
public:
    QIcon icon(const QString& appId) override
    {
        lookups.append(appId);
        return icons.value(appId);
    }

    QHash<QString, QIcon> icons;
    QStringList lookups;
};
