#include "speech/engine_launch.h"

#include "core/base/support_paths.h"
#include "core/base/timing.h"
#include "speech/bundled_engine.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>

#include <csignal>
#include <sys/prctl.h>
#include <unistd.h>

namespace {

QString logPath()
{
    return SupportPaths::file(QStringLiteral("engine.log"));
}

QString previousLogPath()
{
    return SupportPaths::file(QStringLiteral("engine.previous.log"));
}

QProcessEnvironment engineEnvironment()
{
    const QString models = SupportPaths::models();
    const QString hub = models + QStringLiteral("/hub");
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("PYTHONUNBUFFERED"), QStringLiteral("1"));
    env.insert(QStringLiteral("HF_HUB_DISABLE_TELEMETRY"), QStringLiteral("1"));
    env.insert(QStringLiteral("QUENDA_SUPPORT"), SupportPaths::directory());
    env.insert(QStringLiteral("HF_HOME"), models);
    env.insert(QStringLiteral("HF_HUB_CACHE"), hub);
    env.insert(QStringLiteral("HUGGINGFACE_HUB_CACHE"), hub);
    return env;
}

// The engine must not outlive this program, however it ends: killed, or ended by Qt when the X
// server goes away. The kernel sends the signal when the thread that started the child ends;
// that is the main thread, which starts every engine.
void endWithThisProgram(QProcess& process)
{
    const pid_t parent = ::getpid();
    process.setChildProcessModifier([parent] {
        // In the child before exec: only async-signal-safe calls.
        ::prctl(PR_SET_PDEATHSIG, SIGTERM);
        // The parent ended before the signal was armed, so it would never come.
        if (::getppid() != parent)
            ::_exit(1);
    });
}

} // namespace

namespace EngineLaunch {

QProcess* prepareEngine(QObject* parent)
{
    auto* process = new QProcess(parent);
    process->setProgram(BundledEngine::interpreter());
    process->setArguments({QStringLiteral("-u"), QStringLiteral("-m"), QStringLiteral("quenda_engine")});
    process->setWorkingDirectory(SupportPaths::directory());
    process->setProcessEnvironment(engineEnvironment());
    routeOutputToLog(*process);
    endWithThisProgram(*process);
    return process;
}

void start(QProcess& engine, const EngineSecret& secret)
{
    engine.start();
    // Buffered until the process runs, and dropped if it cannot start.
    engine.write(secret.handover());
    engine.closeWriteChannel();
}

void routeOutputToLog(QProcess& process)
{
    // One generation back: what an engine wrote before it ended survives its relaunch.
    if (QFileInfo(logPath()).isFile()) {
        QFile::remove(previousLogPath());
        QFile::rename(logPath(), previousLogPath());
    }
    QFile log(logPath());
    if (!log.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        Timing::mark(QStringLiteral("engine.log cannot be written: ") + log.errorString());
        process.setStandardOutputFile(QProcess::nullDevice());
        process.setStandardErrorFile(QProcess::nullDevice());
        return;
    }
    process.setStandardOutputFile(logPath(), QIODevice::Append);
    process.setStandardErrorFile(logPath(), QIODevice::Append);
}

} // namespace EngineLaunch
