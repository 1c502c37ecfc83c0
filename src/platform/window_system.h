#pragma once

#include "core/base/result.h"
#include "core/model/app_style_profile.h"
#include "platform/app_window.h"

#include <QList>
#include <QObject>
#include <QString>

#include <functional>
#include <optional>
#include <variant>

// The desktop's applications and their windows. An application is named by its desktop-file id
// (without ".desktop"); this program itself (`appId`) and applications without an id
// are never reported as FrontApps. Names are trimmed; a missing or blank name is replaced by the
// id. Everything but installedApps() belongs to the main thread.
class WindowSystem {
public:
    struct Failure {
        enum class Reason {
            Unavailable, // no window system to ask
            WindowGone,  // the window was closed meanwhile
            Refused,     // the window system would not give it the focus
        };
        Reason reason;
        QString detail; // for the log
    };
    using Activated = Result<std::monostate, Failure>;
    using ActiveAppChanged = std::function<void(const std::optional<AppWindow>& active)>;

    virtual ~WindowSystem() = default;

    // The application of the active window, if any.
    virtual std::optional<FrontApp> frontmostApp() const = 0;
    // Applications with a window the user can switch to, in the order the desktop lists them.
    virtual QList<FrontApp> runningApps() const = 0;
    // The applications the desktop offers to start, each id once. Reads many files, so it is
    // called on a WorkQueue and must be safe off the main thread.
    virtual QList<FrontApp> installedApps() const = 0;

    // The active window, this program's own included (tell them apart by pid).
    virtual std::optional<AppWindow> activeWindow() const = 0;
    // The first window the desktop lists for the process; absent once the process has none left.
    virtual std::optional<AppWindow> windowOfProcess(int pid) const = 0;
    // The first window the desktop lists for the desktop-file id.
    virtual std::optional<AppWindow> windowOfApp(const QString& appId) const = 0;
    // Raises the window and gives it the keyboard focus. With a window manager this is a request,
    // which the manager carries out a moment later.
    virtual Activated activate(const AppWindow& window) = 0;
    // Calls `changed` whenever another application's window becomes active, until context is
    // destroyed.
    virtual void watchActiveApp(QObject* context, ActiveAppChanged changed) = 0;
};
