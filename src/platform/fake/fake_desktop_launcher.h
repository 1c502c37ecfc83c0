#pragma once

#include "platform/desktop_launcher.h"

#include <QSet>

// Records every launch; programs and URLs it is told to refuse report failure.
class FakeDesktopLauncher final : public DesktopLauncher {
public:
    bool openSettings(const QString& program, const QStringList& arguments) override;
    bool openUrl(const QUrl& url) override;

    void refuseProgram(const QString& program) { m_refusedPrograms.insert(program); }
    void refuseUrls(bool refuse) { m_refuseUrls = refuse; }

    // Every attempt in order, as the program followed by its arguments, or the URL.
    const QStringList& attempts() const { return m_attempts; }
    // The attempts that succeeded.
    const QStringList& opened() const { return m_opened; }

private:
    QSet<QString> m_refusedPrograms;
    bool m_refuseUrls = false;
    QStringList m_attempts;
    QStringList m_opened;
};
