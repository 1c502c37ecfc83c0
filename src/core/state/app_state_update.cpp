// The update check against the maker's feed. Packages cannot be installed on this platform, so
// an installation ends as failed with its reason in the timing log.
#include "core/state/app_state.h"

#include "platform/update_feed.h"
#include "core/base/run_mode.h"
#include "core/base/timing.h"

#include <QSettings>
#include <QVersionNumber>

namespace {

QString dismissedKey() {
    return QStringLiteral("quenda.dismissedUpdate");
}

} // namespace

std::optional<AppRelease> AppState::availableRelease() const {
    if (m_update.is(UpdateStatus::Kind::Available))
        return m_update.release();
    return std::nullopt;
}

void AppState::checkForUpdate(bool userInitiated, std::optional<bool> autoInstall) {
    if (RunMode::isSnapshot() || m_update.is(UpdateStatus::Kind::Downloading))
        return;
    const bool install = autoInstall.value_or(!userInitiated);
    // A newer check supersedes the running one and its wait for an idle phase.
    const quint64 generation = ++m_updateGeneration;
    m_pendingInstall.reset();
    if (!m_update.is(UpdateStatus::Kind::Checking))
        m_updateBeforeCheck = m_update;
    setUpdate(UpdateStatus::checking());
    if (!m_updateFeed) {
        finishUpdateCheck(generation, userInitiated, install, std::nullopt,
                          QStringLiteral("no update feed is built in"));
        return;
    }
    m_updateFeed->fetchLatest(
        this, [this, generation, userInitiated, install](const UpdateFeed::Reply& reply) {
            finishUpdateCheck(generation, userInitiated, install, reply.release, reply.error);
        });
}

void AppState::finishUpdateCheck(quint64 generation, bool userInitiated, bool autoInstall,
                                 const std::optional<AppRelease>& release, const QString& error) {
    if (generation != m_updateGeneration)
        return;
    const QVersionNumber offered = release ? QVersionNumber::fromString(release->version) : QVersionNumber();
    if (offered.isNull()) {
        Timing::mark(QStringLiteral("update: check failed: ") +
                     (release ? QStringLiteral("unusable version \"%1\"").arg(release->version) : error));
        setUpdate(userInitiated ? UpdateStatus::failed() : m_updateBeforeCheck);
        return;
    }
    // Trailing zeros name the same release: "1.4.0" is not newer than "1.4".
    if (offered.normalized() <= QVersionNumber::fromString(m_appVersion).normalized()) {
        setUpdate(UpdateStatus::current());
        return;
    }
    setUpdate(UpdateStatus::available(*release));
    if (autoInstall && !m_dismissedUpdate) {
        m_pendingInstall = release;
        installWhenIdle();
    }
}

void AppState::refreshDismissedUpdate() {
    const auto release = availableRelease();
    setDismissedUpdate(release && m_settings.value(dismissedKey()).toString() == release->version);
}

void AppState::dismissUpdate() {
    const auto release = availableRelease();
    if (!release)
        return;
    m_settings.setValue(dismissedKey(), release->version);
    refreshDismissedUpdate();
}

void AppState::installWhenIdle() {
    if (!m_pendingInstall || !m_phase.is(Phase::Kind::Idle))
        return;
    const AppRelease release = *std::exchange(m_pendingInstall, std::nullopt);
    // Dismissed while it waited for the dictation to end.
    if (m_dismissedUpdate)
        return;
    startInstall(release);
}

void AppState::startInstall(const AppRelease& release) {
    Timing::mark(QStringLiteral("update: cannot install %1 from %2: this platform has no package installer")
                     .arg(release.version, release.pkgURL.toString()));
    setUpdate(UpdateStatus::failed());
}
