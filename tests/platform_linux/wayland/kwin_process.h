#pragma once

#include <QByteArray>
#include <QProcess>
#include <QTemporaryDir>

// A headless KWin of the test's own, in a folder of its own that holds its home and runtime
// folders. KWin refuses to run from a binary with file capabilities, as Debian installs it, so
// it runs from a copy.
class KwinProcess final {
public:
    KwinProcess();
    ~KwinProcess();

    // The path of its Wayland socket once it listens; empty if it did not start.
    QByteArray waylandDisplay() const { return m_display; }
    // Where a desktop file makes an application known to it.
    QString applicationsDir() const;
    QString log();

private:
    QTemporaryDir m_root;
    QProcess m_process;
    QByteArray m_display;
};
