#pragma once

#include "platform/desktop_launcher.h"

#include <QSet>

// Records every launch; programs it is told to refuse report failure.
class FakeDesktopLauncher final : public DesktopLauncher {
public:
    bool openSettings(const QString& program, const QStringList& arguments) override;
    bool openUrl(const QUrl& url) override;

    void refuseProgram(const QString& program) { m_refusedPrograms.insert(program); }

    // Every attempt in order, as the program followed by its arguments, or the URL.
    const QStringList& attempts() const { return m_attempts; }

private:
    QSet<QString> m_refusedPrograms;
    QStringList m_attempts;
};
