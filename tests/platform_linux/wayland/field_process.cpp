#include "field_process.h"

#include <QDeadlineTimer>

QProcessEnvironment waylandClientEnvironment(const QByteArray& waylandDisplay)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("WAYLAND_DISPLAY"), QString::fromLocal8Bit(waylandDisplay));
    env.insert(QStringLiteral("GDK_BACKEND"), QStringLiteral("wayland"));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("wayland"));
    env.remove(QStringLiteral("DISPLAY"));
    // Neither field should talk to the accessibility bus of the suite's services.
    env.insert(QStringLiteral("NO_AT_BRIDGE"), QStringLiteral("1"));
    return env;
}

bool copyToClipboard(const QByteArray& waylandDisplay, const QString& text)
{
    QProcess copy;
    copy.setProcessEnvironment(waylandClientEnvironment(waylandDisplay));
    copy.start(QStringLiteral("wl-copy"), {text});
    return copy.waitForFinished(15000) && copy.exitStatus() == QProcess::NormalExit && copy.exitCode() == 0;
}

FieldProcess::FieldProcess(Toolkit toolkit, const QByteArray& waylandDisplay)
{
    m_process.setProcessEnvironment(waylandClientEnvironment(waylandDisplay));
    if (toolkit == Toolkit::Gtk)
        m_process.start(QStringLiteral(QUENDA_GTK_FIELD), {});
    else
        m_process.start(QStringLiteral(QUENDA_QT_FIELD), {});
}

FieldProcess::~FieldProcess()
{
    m_process.closeWriteChannel();
    if (!m_process.waitForFinished(3000)) {
        m_process.kill();
        m_process.waitForFinished();
    }
}

bool FieldProcess::readLine(int timeoutMs, QByteArray& line)
{
    const QDeadlineTimer deadline(timeoutMs);
    while (!m_process.canReadLine()) {
        if (m_process.state() == QProcess::NotRunning || deadline.hasExpired())
            return false;
        m_process.waitForReadyRead(int(deadline.remainingTime()));
    }
    line = m_process.readLine().chopped(1);
    return true;
}

bool FieldProcess::waitReady(int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    QByteArray line;
    while (readLine(int(deadline.remainingTime()), line)) {
        if (line == "ready")
            return true;
    }
    return false;
}

QString FieldProcess::waitForText(const QString& expected, int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    QByteArray line;
    while (m_text != expected && readLine(int(deadline.remainingTime()), line)) {
        if (line.startsWith("text:"))
            m_text = QString::fromUtf8(line.mid(5));
    }
    return m_text;
}

QString FieldProcess::errors()
{
    return QString::fromLocal8Bit(m_process.readAllStandardError());
}
