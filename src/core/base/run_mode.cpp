#include "core/base/run_mode.h"

#include <atomic>

namespace {
std::atomic<bool> g_snapshot{false};
}

bool RunMode::isSnapshot()
{
    return g_snapshot.load(std::memory_order_relaxed);
}

void RunMode::setArguments(const QStringList& arguments)
{
    setSnapshot(arguments.contains(QStringLiteral("--snapshot")));
}

void RunMode::setSnapshot(bool snapshot)
{
    g_snapshot.store(snapshot, std::memory_order_relaxed);
}
