#pragma once

#include "core/model/app_release.h"
#include "core/model/update_status.h"

#include <QObject>
#include <QString>

#include <optional>

class QSettings;
class UpdateFeed;

// Asks the maker's feed for a newer release and, for automatic checks, installs it once the
// dictation is idle. Packages cannot be installed on this platform, so an installation ends as
// failed with its reason in the timing log.
class UpdateChecker final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(UpdateChecker)

public:
    // Without a feed no check runs; settings keep the dismissed version.
    UpdateChecker(UpdateFeed* feed, QSettings& settings, QString appVersion, QObject* parent = nullptr);

    // False without a feed: the program is then updated the way it was installed.
    bool checks() const { return m_feed != nullptr; }
    const UpdateStatus& status() const { return m_status; }
    std::optional<AppRelease> availableRelease() const;
    // The offered release is the one the user dismissed.
    bool dismissed() const { return m_dismissed; }
    // autoInstall absent: the opposite of userInitiated. Does nothing while a download runs, nor
    // without a feed, where a check could only fail, into the log, every time the popover opens.
    void check(bool userInitiated, std::optional<bool> autoInstall = std::nullopt);
    // Remembers the offered version as dismissed ("quenda.dismissedUpdate").
    void dismiss();
    // Whether the dictation is idle; an automatic install waits for it. Starts idle.
    void setIdle(bool idle);

signals:
    void statusChanged();
    void dismissedChanged();

private:
    void finish(quint64 generation, bool userInitiated, bool autoInstall,
                const std::optional<AppRelease>& release, const QString& error);
    void setStatus(const UpdateStatus& status);
    void refreshDismissed();
    void installWhenIdle();
    void startInstall(const AppRelease& release);

    UpdateFeed* m_feed;
    QSettings& m_settings;
    QString m_appVersion;
    UpdateStatus m_status;
    bool m_dismissed = false;
    bool m_idle = true;
    // A reply of an older check is stale and dropped.
    quint64 m_generation = 0;
    // What a failed background check returns to; never "checking".
    UpdateStatus m_beforeCheck;
    std::optional<AppRelease> m_pendingInstall;
};
