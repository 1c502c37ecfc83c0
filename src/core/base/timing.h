#pragma once

#include <QDateTime>
#include <QString>

// The diagnostic log "timing.log": one line per mark with the time of day, the milliseconds
// since the settable start and the label. Lines are written on a serial worker thread.
namespace Timing {

// Never waits for the disk; callable from any thread.
void mark(const QString& label);

QDateTime start();
void setStart(const QDateTime& start);

// "HH:mm:ss.SSS  +<ms>ms  <label>\n" with the time of day in local time.
QString formatLine(const QDateTime& now, const QDateTime& start, const QString& label);

// Blocks until every line handed over so far has been written.
void flush();

} // namespace Timing
