#include "platform/linux/process/qprocess_script_runner.h"

#include "core/base/guarded_reply.h"

#include <QProcess>

#include <memory>

namespace {

// One run's completion; the exit, the launch failure and the time-out race for it.
struct PendingRun {
    GuardedReply<const ScriptResult&> reply;
    Clock::TimerId timer = 0;
    bool finished = false;
};

} // namespace

QProcessScriptRunner::QProcessScriptRunner(Clock& clock, QObject* parent)
    : QObject(parent)
    , m_clock(clock)
{
}

QProcessScriptRunner::~QProcessScriptRunner() = default;

void QProcessScriptRunner::run(const ScriptRequest& request, QObject* context, Completion done)
{
    auto pending = std::make_shared<PendingRun>();
    pending->reply = {context, std::move(done)};

    // Every path lands here on the runner's thread, so the flag needs no lock.
    auto finish = [this, pending](ScriptResult result) {
        if (pending->finished)
            return;
        pending->finished = true;
        m_clock.cancel(pending->timer);
        // Queued even on the same thread, so no caller is ever completed from inside run().
        if (pending->reply.wanted())
            pending->reply.post(pending->reply.context(), std::move(result));
    };

    auto* process = new QProcess(this);
    connect(process, &QProcess::finished, this, [process, finish](int exitCode, QProcess::ExitStatus status) {
        ScriptResult result;
        result.status =
            status == QProcess::CrashExit ? ScriptResult::Status::Crashed : ScriptResult::Status::Exited;
        result.exitCode = exitCode;
        result.output = process->readAllStandardOutput();
        result.error = process->readAllStandardError();
        finish(std::move(result));
        process->deleteLater();
    });
    connect(process, &QProcess::errorOccurred, this, [process, finish](QProcess::ProcessError error) {
        // Every other error is followed by finished(); a failed start is not.
        if (error != QProcess::FailedToStart)
            return;
        ScriptResult result;
        result.status = ScriptResult::Status::FailedToStart;
        result.launchError = process->errorString();
        finish(std::move(result));
        process->deleteLater();
    });
    pending->timer = m_clock.singleShot(request.timeoutMs, process, [process, finish] {
        // The late finished() that follows the kill finds the run completed and is dropped.
        if (process->state() != QProcess::NotRunning)
            process->kill();
        ScriptResult result;
        result.status = ScriptResult::Status::TimedOut;
        finish(std::move(result));
    });

    process->start(request.program, request.arguments);
    if (process->state() == QProcess::NotRunning)
        return;
    process->write(request.input);
    process->closeWriteChannel();
}
