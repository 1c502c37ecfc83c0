#pragma once

#include "core/base/support_paths.h"

#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

// The main() of a benchmark program. Qt needs its application object before any QObject is made
// and alive until the last benchmark has ended, so it is built here around the run.
namespace Bench {

// The process's resident memory, from /proc; 0 where it cannot be read.
inline long residentKiB()
{
    QFile status(QStringLiteral("/proc/self/statm"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> fields = status.readAll().split(' ');
    return fields.size() > 1 ? fields.at(1).toLong() * 4 : 0;
}

// Runs what is registered; for a program that builds its application object or fixtures itself.
inline int runRegistered(int& argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

// `before` runs once the application exists and before the command line is read.
template <typename Application, typename Setup> int run(int argc, char** argv, Setup before)
{
    Application app(argc, argv);
    before();
    return runRegistered(argc, argv);
}

template <typename Application> int run(int argc, char** argv)
{
    return run<Application>(argc, argv, [] {});
}

// As run(), with the support folder in a temporary one, so a run never reads or writes the user's data.
template <typename Application, typename Setup> int runInTempDataRoot(int argc, char** argv, Setup before)
{
    const QTemporaryDir dir;
    return run<Application>(argc, argv, [&] {
        SupportPaths::setDataRoot(dir.path());
        before();
    });
}

template <typename Application> int runInTempDataRoot(int argc, char** argv)
{
    return runInTempDataRoot<Application>(argc, argv, [] {});
}

} // namespace Bench
