#pragma once

#include "core/base/clock.h"
#include "platform/script_runner.h"

#include <QObject>

// Runs helper programs with QProcess on the thread that owns the runner; the caller's thread
// never waits. The time limit runs on the injected clock.
class QProcessScriptRunner final : public QObject, public ScriptRunner {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(QProcessScriptRunner)

public:
    explicit QProcessScriptRunner(Clock& clock, QObject* parent = nullptr);
    ~QProcessScriptRunner() override;

    // Call on the runner's thread, with `context` on that thread too: a QPointer to an object that
    // another thread may be deleting cannot be trusted.
    void run(const ScriptRequest& request, QObject* context, Completion done) override;

private:
    Clock& m_clock;
};
