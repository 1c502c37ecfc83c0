#include "core/styles/style_upkeep.h"

#include "core/base/work_queue.h"
#include "core/styles/app_style_catalog.h"
#include "core/styles/style_profiles.h"
#include "platform/window_system.h"

#include <QCollator>
#include <QHash>

#include <algorithm>

namespace {

using Origin = StyleProfiles::Origin;

qsizetype indexOf(const QList<AppStyleProfile>& profiles, const QString& bundleID)
{
    for (qsizetype i = 0; i < profiles.size(); ++i) {
        if (profiles.at(i).bundleID == bundleID)
            return i;
    }
    return -1;
}

QList<AppStyleProfile> sortedByName(QList<AppStyleProfile> profiles)
{
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::stable_sort(profiles.begin(), profiles.end(),
                     [&](const AppStyleProfile& a, const AppStyleProfile& b) {
                         return collator.compare(a.name, b.name) < 0;
                     });
    return profiles;
}

AppStyleProfile newProfile(const FrontApp& app)
{
    const QString suggested = AppStyleCatalog::suggest(app.bundleID, app.name);
    return {app.bundleID, app.name, suggested, suggested, false};
}

} // namespace

StyleUpkeep::StyleUpkeep(StyleProfiles& profiles, WindowSystem& windows, WorkQueue& work, QObject* parent)
    : QObject(parent)
    , m_profiles(profiles)
    , m_windows(windows)
    , m_work(work)
{
}

QString StyleUpkeep::effectiveStyle(const FrontApp& app) const
{
    const QList<AppStyleProfile>& profiles = m_profiles.styleProfiles();
    const qsizetype i = indexOf(profiles, app.bundleID);
    if (i < 0)
        return AppStyleCatalog::suggest(app.bundleID, app.name);
    const AppStyleProfile& profile = profiles.at(i);
    return profile.customized ? profile.style : profile.suggested;
}

void StyleUpkeep::rememberApp(const FrontApp& app)
{
    QList<AppStyleProfile> next = m_profiles.styleProfiles();
    const qsizetype i = indexOf(next, app.bundleID);
    if (i >= 0) {
        if (next.at(i).name == app.name)
            return;
        next[i].name = app.name;
        m_profiles.writeStyleProfiles(next, Origin::Upkeep);
        return;
    }
    next.append(newProfile(app));
    m_profiles.writeStyleProfiles(next, Origin::Upkeep);
    // A second write, free when the list was in order already.
    m_profiles.writeStyleProfiles(sortedByName(m_profiles.styleProfiles()), Origin::Upkeep);
}

void StyleUpkeep::setAppStyle(const QString& bundleID, const QString& name, const QString& style)
{
    rememberApp({bundleID, name});
    QList<AppStyleProfile> next = m_profiles.styleProfiles();
    const qsizetype i = indexOf(next, bundleID);
    // Only a listener that removed the profile again leaves none.
    if (i < 0)
        return;
    AppStyleProfile& profile = next[i];
    profile.customized = style != profile.suggested;
    profile.style = style;
    m_profiles.writeStyleProfiles(next, Origin::User);
}

void StyleUpkeep::rescan()
{
    if (m_scanning)
        return;
    m_scanning = true;
    // Running applications are read here: window-system answers belong to the main thread.
    const QList<FrontApp> running = m_windows.runningApps();
    const WindowSystem& windows = m_windows;
    m_work.run<QList<FrontApp>>(
        [&windows, running] { return AppStyleCatalog::unify(windows.installedApps() + running); }, this,
        [this](const QList<FrontApp>& apps) {
            m_scanning = false;
            mergeInstalledApps(apps);
        });
}

void StyleUpkeep::mergeInstalledApps(const QList<FrontApp>& apps)
{
    QList<AppStyleProfile> profiles = m_profiles.styleProfiles();
    QHash<QString, qsizetype> index;
    for (qsizetype i = 0; i < profiles.size(); ++i)
        index.insert(profiles.at(i).bundleID, i);
    bool changed = false;
    for (const FrontApp& app : apps) {
        const QString suggestion = AppStyleCatalog::suggest(app.bundleID, app.name);
        const auto found = index.constFind(app.bundleID);
        if (found == index.constEnd()) {
            index.insert(app.bundleID, profiles.size());
            profiles.append({app.bundleID, app.name, suggestion, suggestion, false});
            changed = true;
            continue;
        }
        AppStyleProfile& profile = profiles[*found];
        if (profile.name != app.name) {
            profile.name = app.name;
            changed = true;
        }
        if (!profile.customized && profile.suggested != suggestion) {
            profile.suggested = suggestion;
            profile.style = suggestion;
            changed = true;
        }
    }
    if (changed)
        m_profiles.writeStyleProfiles(sortedByName(profiles), Origin::Upkeep);
}
