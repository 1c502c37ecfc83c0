#include "platform/linux/xdg/desktop_launcher_linux.h"

#include <QDesktopServices>
#include <QProcess>

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
    if (anchor == DesktopLauncher::microphonePane)
        return settings.microphonePage;
    if (anchor == DesktopLauncher::accessibilityPane)
        return settings.accessibilityPage;
    return {};
}

} // namespace

DesktopLauncherLinux::DesktopLauncherLinux(const QString& currentDesktop, StartDetached start)
    : m_kdeFirst(currentDesktop.split(QLatin1Char(':')).contains(QLatin1String("KDE"), Qt::CaseInsensitive))
    , m_start(std::move(start))
{
}

void DesktopLauncherLinux::openPrivacyPane(const QStringList& anchors)
{
    openSettings(anchors);
}

bool DesktopLauncherLinux::openSettings(const QStringList& anchors)
{
    // GNOME's settings started outside GNOME quit at once, yet count as started; so the
    // running desktop's program is tried first.
    const std::array<SettingsProgram, 2> order = m_kdeFirst ? std::array{kde, gnome} : std::array{gnome, kde};
    for (const QString& anchor : anchors) {
        for (const SettingsProgram& settings : order) {
            const QLatin1String page = pageFor(settings, anchor);
            if (!page.isEmpty() && m_start(settings.program, {page}))
                return true;
        }
    }
    for (const SettingsProgram& settings : order) {
        if (m_start(settings.program, {}))
            return true;
    }
    return false;
}

bool DesktopLauncherLinux::openUrl(const QUrl& url)
{
    return QDesktopServices::openUrl(url);
}

bool DesktopLauncherLinux::startWithQProcess(const QString& program, const QStringList& arguments)
{
    return QProcess::startDetached(program, arguments);
}
