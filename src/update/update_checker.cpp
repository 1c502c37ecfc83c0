#include "update/update_checker.h"

#include "core/base/timing.h"
#include "platform/update_feed.h"

#include <QSettings>
#include <QVersionNumber>

namespace {

QString dismissedKey()
{
    return QStringLiteral("quenda.dismissedUpdate");
}

} // namespace

UpdateChecker::UpdateChecker(UpdateFeed* feed, QSettings& settings, QString appVersion, QObject* parent)
    : QObject(parent)
    , m_feed(feed)
    , m_settings(settings)
    , m_appVersion(std::move(appVersion))
{
}

std::optional<AppRelease> UpdateChecker::availableRelease() const
{
    if (m_status.is(UpdateStatus::Kind::Available))
        return m_status.release();
    return std::nullopt;
}

void UpdateChecker::check(bool userInitiated, std::optional<bool> autoInstall)
{
    if (!m_feed || m_status.is(UpdateStatus::Kind::Downloading))
        return;
    const bool install = autoInstall.value_or(!userInitiated);
    // A newer check supersedes the running one and its wait for an idle phase.
    const quint64 generation = ++m_generation;
    m_pendingInstall.reset();
    if (!m_status.is(UpdateStatus::Kind::Checking))
        m_beforeCheck = m_status;
    setStatus(UpdateStatus::checking());
    m_feed->fetchLatest(this, [this, generation, userInitiated, install](const UpdateFeed::Reply& reply) {
        finish(generation, userInitiated, install, reply.release, reply.error);
    });
}

void UpdateChecker::finish(quint64 generation, bool userInitiated, bool autoInstall,
                           const std::optional<AppRelease>& release, const QString& error)
{
    if (generation != m_generation)
        return;
    const QVersionNumber offered = release ? QVersionNumber::fromString(release->version) : QVersionNumber();
    if (offered.isNull()) {
        Timing::mark(QStringLiteral("update: check failed: ") +
                     (release ? QStringLiteral("unusable version \"%1\"").arg(release->version) : error));
        setStatus(userInitiated ? UpdateStatus::failed() : m_beforeCheck);
        return;
    }
    // Trailing zeros name the same release: "1.4.0" is not newer than "1.4".
    if (offered.normalized() <= QVersionNumber::fromString(m_appVersion).normalized()) {
        setStatus(UpdateStatus::current());
        return;
    }
    setStatus(UpdateStatus::available(*release));
    if (autoInstall && !m_dismissed) {
        m_pendingInstall = release;
        installWhenIdle();
    }
}

void UpdateChecker::setStatus(const UpdateStatus& status)
{
    if (m_status == status)
        return;
    m_status = status;
    emit statusChanged();
    // Whether the offered release is the dismissed one follows from the status.
    refreshDismissed();
}

void UpdateChecker::refreshDismissed()
{
    const auto release = availableRelease();
    const bool dismissed = release && m_settings.value(dismissedKey()).toString() == release->version;
    if (dismissed == m_dismissed)
        return;
    m_dismissed = dismissed;
    emit dismissedChanged();
}

void UpdateChecker::dismiss()
{
    const auto release = availableRelease();
    if (!release)
        return;
    m_settings.setValue(dismissedKey(), release->version);
    refreshDismissed();
}

void UpdateChecker::setIdle(bool idle)
{
    m_idle = idle;
    installWhenIdle();
}

void UpdateChecker::installWhenIdle()
{
    if (!m_pendingInstall || !m_idle)
        return;
    const AppRelease release = *std::exchange(m_pendingInstall, std::nullopt);
    // Dismissed while it waited for the dictation to end.
    if (m_dismissed)
        return;
    startInstall(release);
}

void UpdateChecker::startInstall(const AppRelease& release)
{
    Timing::mark(QStringLiteral("update: cannot install %1 from %2: this platform has no package installer")
                     .arg(release.version, release.pkgURL.toString()));
    setStatus(UpdateStatus::failed());
}
