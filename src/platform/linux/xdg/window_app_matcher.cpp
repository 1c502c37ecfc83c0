#include "platform/linux/xdg/window_app_matcher.h"

#include <functional>

namespace {

bool same(const QString& a, const QString& b)
{
    return !a.isEmpty() && a.compare(b, Qt::CaseInsensitive) == 0;
}

QString lastPart(const QString& id)
{
    return id.section(QLatin1Char('.'), -1);
}

} // namespace

WindowAppMatcher::WindowAppMatcher(QList<InstalledApp> apps)
    : m_apps(std::move(apps))
{
}

std::optional<InstalledApp> WindowAppMatcher::match(const QString& instance, const QString& className) const
{
    const std::function<bool(const InstalledApp&, const QString&)> rules[] = {
        [](const InstalledApp& a, const QString& name) { return same(a.startupWMClass, name); },
        [](const InstalledApp& a, const QString& name) { return same(a.app.bundleID, name); },
        [](const InstalledApp& a, const QString& name) { return same(lastPart(a.app.bundleID), name); },
    };
    for (const auto& rule : rules) {
        for (const QString& name : {className, instance}) {
            if (name.isEmpty())
                continue;
            for (const InstalledApp& app : m_apps) {
                if (rule(app, name))
                    return app;
            }
        }
    }
    return std::nullopt;
}
