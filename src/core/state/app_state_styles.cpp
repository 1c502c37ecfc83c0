// Styles per application, handed to StyleUpkeep; the state is where their profiles live.
#include "core/state/app_state.h"

#include "core/styles/style_upkeep.h"

const QList<AppStyleProfile>& AppState::styleProfiles() const
{
    return m_config.appStyles;
}

void AppState::writeStyleProfiles(const QList<AppStyleProfile>& profiles, Origin origin)
{
    // Upkeep was not the user's doing, so it shows no settings-saved notice.
    std::optional<ToastSuppression> quiet;
    if (origin == Origin::Upkeep)
        quiet.emplace(*this);
    QuendaConfig next = m_config;
    next.appStyles = profiles;
    setConfig(next);
}

QString AppState::effectiveStyle(const FrontApp& app) const
{
    return m_styles->effectiveStyle(app);
}

void AppState::rememberApp(const FrontApp& app)
{
    m_styles->rememberApp(app);
}

void AppState::setAppStyle(const QString& bundleID, const QString& name, const QString& style)
{
    m_styles->setAppStyle(bundleID, name, style);
}

void AppState::rescanApps()
{
    if (!m_scansApps)
        return;
    m_styles->rescan();
}

void AppState::mergeInstalledApps(const QList<FrontApp>& apps)
{
    m_styles->mergeInstalledApps(apps);
}
