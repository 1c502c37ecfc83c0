#include "platform/fake/fake_script_runner.h"

void FakeScriptRunner::run(const ScriptRequest& request, QObject* context, Completion done)
{
    m_requests.append(request);
    m_pending.push_back({context, std::move(done)});
}

bool FakeScriptRunner::finishNext(const ScriptResult& result)
{
    if (m_pending.empty())
        return false;
    const GuardedReply<const ScriptResult&> next = std::move(m_pending.front());
    m_pending.pop_front();
    next(result);
    return true;
}

ScriptResult FakeScriptRunner::exited(int exitCode, const QByteArray& output, const QByteArray& error)
{
    ScriptResult result;
    result.exitCode = exitCode;
    result.output = output;
    result.error = error;
    return result;
}

ScriptResult FakeScriptRunner::timedOut()
{
    ScriptResult result;
    result.status = ScriptResult::Status::TimedOut;
    return result;
}

ScriptResult FakeScriptRunner::failedToStart(const QString& reason)
{
    ScriptResult result;
    result.status = ScriptResult::Status::FailedToStart;
    result.launchError = reason;
    return result;
}
