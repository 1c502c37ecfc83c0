#include "core/state/permissions.h"

#include <QList>

#include <array>

namespace {

struct SettingsProgram {
    QLatin1String program;
    QLatin1String microphonePage;
    QLatin1String accessibilityPage;
};

constexpr SettingsProgram gnome{QLatin1String("gnome-control-center"), QLatin1String("sound"),
                                QLatin1String("universal-access")};
constexpr SettingsProgram kde{QLatin1String("systemsettings"), QLatin1String("kcm_pulseaudio"),
                              QLatin1String("kcm_access")};

QLatin1String pageFor(const SettingsProgram& settings, const QString& anchor)
{
    if (anchor == QLatin1String("Privacy_Microphone"))
        return settings.microphonePage;
    if (anchor == QLatin1String("Privacy_Accessibility"))
        return settings.accessibilityPage;
    return {};
}

} // namespace

Permissions::Permissions(DesktopLauncher& launcher, const QString& currentDesktop)
    : m_launcher(launcher)
    , m_kdeFirst(currentDesktop.split(QLatin1Char(':')).contains(QLatin1String("KDE"), Qt::CaseInsensitive))
{
}

void Permissions::openPrivacyPane(const QStringList& anchors)
{
    // GNOME's settings started outside GNOME quit at once, yet count as started; so the
    // running desktop's program is tried first.
    const std::array<SettingsProgram, 2> order = m_kdeFirst ? std::array{kde, gnome} : std::array{gnome, kde};
    for (const QString& anchor : anchors) {
        for (const SettingsProgram& settings : order) {
            const QLatin1String page = pageFor(settings, anchor);
            if (!page.isEmpty() && m_launcher.openSettings(settings.program, {page}))
                return;
        }
    }
    for (const SettingsProgram& settings : order) {
        if (m_launcher.openSettings(settings.program, {}))
            return;
    }
}
