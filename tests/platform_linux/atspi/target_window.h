#pragma once

#include <QProcess>
#include <QStringList>

// A window of our own in a process of its own on the test's X display, for the backend to read
// and write. It prints "ready" once its field has the focus.
class TargetWindow final {
public:
    // Waits (bounded) for "ready".
    TargetWindow(const QString& program, const QStringList& arguments);
    ~TargetWindow();

    TargetWindow(const TargetWindow&) = delete;
    TargetWindow& operator=(const TargetWindow&) = delete;

    bool ready() const { return m_ready; }
    // The program said its toolkit is missing (exit code 77).
    bool unavailable() const;
    qint64 pid() const { return m_process.processId(); }
    // Stops or resumes the process, so that it answers nothing meanwhile.
    void freeze(bool frozen);

private:
    QProcess m_process;
    bool m_ready = false;
};
