#pragma once

#include "speech/engine_secret.h"

#include <QString>

class QObject;
class QProcess;

// How the supervisor starts its programs: the engine as the support folder's interpreter running
// the engine module, bound to this program's life and handed its secret; both the engine and the
// setup script write to "engine.log".
namespace EngineLaunch {

// The engine process, ready to start. Its secret is neither on its command line nor in its
// environment, which other users can read.
QProcess* prepareEngine(QObject* parent);
// Starts `engine` and writes `secret` to its standard input, which is closed after it.
void start(QProcess& engine, const EngineSecret& secret);
// Keeps the last "engine.log" as "engine.previous.log" and sends `process`'s output to a new
// "engine.log"; where the log cannot be written, the output is discarded and the program runs all
// the same.
void routeOutputToLog(QProcess& process);

} // namespace EngineLaunch
