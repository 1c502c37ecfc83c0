#pragma once

#include "private_bus.h"

#include <QByteArray>
#include <QProcess>
#include <QTemporaryDir>

// A headless KWin of the test's own, on a session bus of its own and in a folder of its own that
// holds its home and runtime folders. KWin refuses to run from a binary with file capabilities, as
// Debian installs it, so it runs from a copy.
class KwinProcess final {
public:
    // With the shortcuts, KWin serves KDE's global shortcut service on its bus.
    enum class Shortcuts { Off, On };
    explicit KwinProcess(Shortcuts shortcuts = Shortcuts::Off);
    ~KwinProcess();

    // The path of its Wayland socket once it listens; empty if it did not start.
    QByteArray waylandDisplay() const { return m_display; }
    const PrivateBus& bus() const { return m_bus; }
    // Installs the program's menu entry as the install writes it, naming this test program
    // instead, where KWin looks up what a client may bind.
    bool installProgramEntry() const;
    // Ends KWin at once, as a crash would.
    void stop();

private:
    QString applicationsDir() const;

    QTemporaryDir m_root;
    PrivateBus m_bus;
    QProcess m_process;
    QByteArray m_display;
};
