// Loading and saving the configuration and a 10,000-entry history in a temporary support folder.
#include "bench_main.h"
#include "core/config/quenda_config.h"
#include "core/storage/history_store.h"

#include <QCoreApplication>

#include <benchmark/benchmark.h>

namespace {

QList<HistoryEntry> makeHistory(int count)
{
    QList<HistoryEntry> entries;
    entries.reserve(count);
    const QDateTime start = QDateTime::currentDateTimeUtc();
    for (int i = 0; i < count; ++i) {
        const QString text =
            QStringLiteral("Dictation number %1, a sentence of ordinary length for a note.").arg(i);
        entries.append({QUuid::createUuid(), start.addSecs(-60 * i), text, text, 4.2,
                        QStringLiteral("Editor"), i % 7 == 0 ? std::optional<bool>(true) : std::nullopt,
                        i % 11 == 0 ? std::optional<QString>(HistoryEntry::clipboardKind) : std::nullopt});
    }
    return entries;
}

void BM_ConfigSave(benchmark::State& state)
{
    QuendaConfig config = QuendaConfig::snapshotDemo();
    for (auto _ : state)
        benchmark::DoNotOptimize(config.save());
}
BENCHMARK(BM_ConfigSave)->Unit(benchmark::kMicrosecond);

void BM_ConfigRead(benchmark::State& state)
{
    QuendaConfig::snapshotDemo().save();
    for (auto _ : state)
        benchmark::DoNotOptimize(QuendaConfig::read());
}
BENCHMARK(BM_ConfigRead)->Unit(benchmark::kMicrosecond);

void BM_HistorySave10k(benchmark::State& state)
{
    const auto entries = makeHistory(10000);
    for (auto _ : state)
        benchmark::DoNotOptimize(HistoryStore::save(entries));
}
BENCHMARK(BM_HistorySave10k)->Unit(benchmark::kMillisecond);

void BM_HistoryLoad10k(benchmark::State& state)
{
    HistoryStore::save(makeHistory(10000));
    for (auto _ : state) {
        const auto entries = HistoryStore::load();
        if (entries.size() != 10000)
            state.SkipWithError("history did not load");
        benchmark::DoNotOptimize(entries);
    }
}
BENCHMARK(BM_HistoryLoad10k)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    return Bench::runInTempDataRoot<QCoreApplication>(argc, argv);
}
