#pragma once

#include "core/base/guarded_reply.h"
#include "platform/script_runner.h"

#include <QList>

#include <deque>

// Records every run; a run completes when the test finishes it.
class FakeScriptRunner final : public ScriptRunner {
public:
    void run(const ScriptRequest& request, QObject* context, Completion done) override;

    // Completes the oldest waiting run right now; false when none waits.
    bool finishNext(const ScriptResult& result);
    const QList<ScriptRequest>& requests() const { return m_requests; }

    static ScriptResult exited(int exitCode, const QByteArray& output, const QByteArray& error = {});
    static ScriptResult timedOut();
    static ScriptResult failedToStart(const QString& reason);

private:
    QList<ScriptRequest> m_requests;
    std::deque<GuardedReply<const ScriptResult&>> m_pending;
};
