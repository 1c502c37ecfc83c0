#pragma once

#include "core/model/app_style_profile.h"

#include <QList>

#include <optional>

// The desktop's applications as style targets. An application is named by its desktop-file id
// (without ".desktop"); this program itself ("de.morvane.quenda") and applications without an id
// are never reported. Names are trimmed; a missing or blank name is replaced by the id.
class WindowSystem {
public:
    virtual ~WindowSystem() = default;

    // The application of the active window, if any.
    virtual std::optional<FrontApp> frontmostApp() const = 0;
    // Applications with a window the user can switch to, in the order the desktop lists them.
    virtual QList<FrontApp> runningApps() const = 0;
    // The applications the desktop offers to start, each id once. Reads many files, so it is
    // called on a WorkQueue and must be safe off the main thread.
    virtual QList<FrontApp> installedApps() const = 0;
};
