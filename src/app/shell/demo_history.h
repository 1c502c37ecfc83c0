#pragma once

#include "core/model/history_entry.h"

#include <QDateTime>
#include <QList>

// The history the snapshot shows: dictations over three days up to now, into several applications,
// one rewritten by a command and one captured clipboard text, newest first.
namespace DemoHistory {

QList<HistoryEntry> entries(const QDateTime& now);

} // namespace DemoHistory
