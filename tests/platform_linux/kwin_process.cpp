#include "kwin_process.h"

#include "platform/linux/wayland/wayland_connection.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTest>

namespace {

constexpr int startMs = 30000;
constexpr int stopMs = 5000;

} // namespace

KwinProcess::KwinProcess(Shortcuts shortcuts)
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
    env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), m_bus.address());
    m_process.setProcessEnvironment(env);
    // Nobody reads its chatter: a full pipe would stop it.
    m_process.setStandardOutputFile(QProcess::nullDevice());
    m_process.setStandardErrorFile(QProcess::nullDevice());
    QStringList arguments{QStringLiteral("--virtual"),
                          QStringLiteral("--socket"),
                          QStringLiteral("quenda-kwin"),
                          QStringLiteral("--width"),
                          QStringLiteral("1280"),
                          QStringLiteral("--height"),
                          QStringLiteral("800"),
                          QStringLiteral("--no-lockscreen"),
                          QStringLiteral("--no-kactivities")};
    if (shortcuts == Shortcuts::Off)
        arguments << QStringLiteral("--no-global-shortcuts");
    m_process.start(copy, arguments);
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
    // A test compositor has nothing to save; the folder goes once nothing writes there any more.
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.kill();
    m_process.waitForFinished(stopMs);
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
