#include "kwin_process.h"

#include "platform/linux/wayland/wayland_connection.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTest>

#include <csignal>
#include <unistd.h>

namespace {

constexpr int startMs = 30000;
constexpr int stopMs = 5000;

} // namespace

KwinProcess::KwinProcess()
{
    const QString installed = QStandardPaths::findExecutable(QStringLiteral("kwin_wayland"));
    const QString copy = m_root.filePath(QStringLiteral("kwin_wayland"));
    if (installed.isEmpty() || !QFile::copy(installed, copy))
        return;
    QDir(m_root.path()).mkpath(QStringLiteral("run"));
    QFile::setPermissions(m_root.filePath(QStringLiteral("run")),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QDir(m_root.path()).mkpath(applicationsDir());

    QProcessEnvironment env;
    env.insert(QStringLiteral("PATH"), qEnvironmentVariable("PATH"));
    env.insert(QStringLiteral("HOME"), m_root.path());
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_root.filePath(QStringLiteral("run")));
    m_process.setProcessEnvironment(env);
    // Nobody reads its chatter: a full pipe would stop it.
    m_process.setStandardOutputFile(QProcess::nullDevice());
    m_process.setStandardErrorFile(QProcess::nullDevice());
    // Its own process group, so its private bus goes with it.
    m_process.setChildProcessModifier([] { setsid(); });
    m_process.start(QStringLiteral("dbus-run-session"),
                    {QStringLiteral("--"), copy, QStringLiteral("--virtual"), QStringLiteral("--socket"),
                     QStringLiteral("quenda-kwin"), QStringLiteral("--width"), QStringLiteral("1280"),
                     QStringLiteral("--height"), QStringLiteral("800"), QStringLiteral("--no-lockscreen"),
                     QStringLiteral("--no-global-shortcuts"), QStringLiteral("--no-kactivities")});
    // The socket appears before KWin answers on it.
    const QByteArray socket = QFile::encodeName(m_root.filePath(QStringLiteral("run/quenda-kwin")));
    const bool answers = QTest::qWaitFor(
        [&] {
            return m_process.state() == QProcess::NotRunning ||
                   (QFile::exists(QFile::decodeName(socket)) && WaylandConnection(socket).connected());
        },
        startMs);
    if (answers && m_process.state() != QProcess::NotRunning)
        m_display = socket;
}

KwinProcess::~KwinProcess()
{
    stop();
}

void KwinProcess::stop()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    // The bus session reaps KWin and ends with it, so KWin alone is stopped; the folder goes
    // once nothing writes there any more. A test compositor has nothing to save.
    const qint64 session = m_process.processId();
    QFile children(QStringLiteral("/proc/%1/task/%1/children").arg(session));
    if (children.open(QIODevice::ReadOnly)) {
        for (const QByteArray& child : children.readAll().simplified().split(' ')) {
            QFile name(QStringLiteral("/proc/%1/comm").arg(QString::fromLatin1(child)));
            if (name.open(QIODevice::ReadOnly) && name.readAll().trimmed() == "kwin_wayland")
                ::kill(pid_t(child.toLongLong()), SIGKILL);
        }
    }
    if (!m_process.waitForFinished(stopMs)) {
        ::kill(-pid_t(session), SIGKILL);
        m_process.waitForFinished();
    }
}

QString KwinProcess::applicationsDir() const
{
    return m_root.filePath(QStringLiteral(".local/share/applications"));
}

bool KwinProcess::installProgramEntry() const
{
    QFile in(QStringLiteral(QUENDA_SOURCE_DIR "/resources/de.morvane.quenda.desktop.in"));
    QFile out(applicationsDir() + QStringLiteral("/de.morvane.quenda.desktop"));
    if (!in.open(QIODevice::ReadOnly) || !out.open(QIODevice::WriteOnly))
        return false;
    QByteArray entry = in.readAll();
    entry.replace("@QUENDA_EXEC@", QFile::encodeName(QCoreApplication::applicationFilePath()));
    return out.write(entry) == entry.size();
}
