#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>

// One run of a helper program: its stdin text and how long it may take.
struct ScriptRequest {
    QString program;
    QStringList arguments;
    QByteArray input;
    int timeoutMs = 90'000;
};

// How a run ended. Output and error are the raw bytes the program wrote.
struct ScriptResult {
    enum class Status { Exited, Crashed, TimedOut, FailedToStart };

    Status status = Status::Exited;
    int exitCode = 0; // meaningful for Exited only
    QByteArray output;
    QByteArray error;
    QString launchError; // why the program could not be started

    bool succeeded() const { return status == Status::Exited && exitCode == 0; }
};

// Runs helper programs as child processes without blocking the caller's thread.
class ScriptRunner {
public:
    using Completion = std::function<void(const ScriptResult&)>;

    virtual ~ScriptRunner() = default;

    // Starts the program, writes the input and closes its stdin. `done` is called exactly once,
    // later, on the thread of `context`, and never once `context` is destroyed. A run that
    // outlives its time limit is killed and completes as TimedOut.
    virtual void run(const ScriptRequest& request, QObject* context, Completion done) = 0;
};
