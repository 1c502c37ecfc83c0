#pragma once

#include "core/model/app_release.h"

#include <QObject>
#include <QString>

#include <functional>
#include <optional>

// The maker's update feed: names its newest release.
class UpdateFeed {
public:
    struct Reply {
        std::optional<AppRelease> release; // absent when the check failed
        QString error;                     // why it failed, for the log
    };

    virtual ~UpdateFeed() = default;

    // Asks for the newest release; done runs once on the caller's thread, or never when context
    // is destroyed first.
    virtual void fetchLatest(QObject* context, std::function<void(const Reply&)> done) = 0;
};
