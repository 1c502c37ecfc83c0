#include "target_window.h"

#include <QProcessEnvironment>
#include <QTest>

#include <csignal>

TargetWindow::TargetWindow(const QString& program, const QStringList& arguments)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    // The test itself runs offscreen; the window must reach the X server to be focused.
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    environment.remove(QStringLiteral("NO_AT_BRIDGE"));
    m_process.setProcessEnvironment(environment);
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process.start(program, arguments);
    m_ready = QTest::qWaitFor(
                  [this] {
                      while (m_process.canReadLine()) {
                          if (m_process.readLine().trimmed() == "ready")
                              return true;
                      }
                      return m_process.state() == QProcess::NotRunning;
                  },
                  20000) &&
              m_process.state() == QProcess::Running;
}

TargetWindow::~TargetWindow()
{
    freeze(false);
    m_process.kill();
    m_process.waitForFinished(5000);
}

bool TargetWindow::unavailable() const
{
    return m_process.state() == QProcess::NotRunning && m_process.exitCode() == 77;
}

void TargetWindow::freeze(bool frozen)
{
    if (m_process.state() == QProcess::Running)
        ::kill(static_cast<pid_t>(m_process.processId()), frozen ? SIGSTOP : SIGCONT);
}
