// The history page over 10,000 entries, offscreen: opening it, one search keystroke, the next
// chunk of rows, a new entry arriving (without the file write) and a removal with its file write.
#include "bench_main.h"
#include "core/state/app_state.h"
#include "fake_state_services.h"
#include "page_bench.h"
#include "ui/kit/search_field.h"
#include "ui/kit/theme.h"
#include "ui/pages/history/history_page.h"

#include <QApplication>

#include <memory>

namespace {

constexpr int entryCount = 10000;

const QStringList apps{QStringLiteral("Mail"), QStringLiteral("Slack"), QStringLiteral("Firefox"),
                       QStringLiteral("Text Editor"), QStringLiteral("Terminal")};

HistoryEntry entry(const QDateTime& now, int i)
{
    HistoryEntry e;
    e.id = QUuid::createUuid();
    // Fifty a day, newest first.
    e.date = now.addSecs(-qint64(i) * 24 * 3600 / 50);
    e.text = QStringLiteral("Dictation number %1: let's meet at the station at ten and take the early train.")
                 .arg(i);
    e.raw =
        QStringLiteral("dictation number %1 lets meet at the station at ten and take the early train").arg(i);
    e.app = apps.at((i % apps.size() + apps.size()) % apps.size());
    if (i % 17 == 0)
        e.kind = HistoryEntry::clipboardKind;
    e.wasCommand = i % 11 == 0;
    return e;
}

// A state holding 10,000 entries, kept whatever their age and number.
struct Fixture {
    FakeStateServices<> services;
    AppState state{services.forState()};

    Fixture()
    {
        QuendaConfig config = state.config();
        config.historyKeepHours = 0;
        config.historyMaxEntries = 0;
        {
            AppState::ToastSuppression quiet(state);
            state.setConfig(config);
        }
        QList<HistoryEntry> history;
        history.reserve(entryCount);
        for (int i = 0; i < entryCount; ++i)
            history << entry(services.clock.now(), i);
        state.setHistory(history);
    }

    std::unique_ptr<HistoryPage> open() { return Bench::showAlone<HistoryPage>(state); }
};

using Bench::paint;

void BM_OpenPage(benchmark::State& bench)
{
    Fixture f;
    const long before = Bench::residentKiB();
    auto kept = f.open();
    paint(*kept);
    bench.counters["addedMB"] = double(Bench::residentKiB() - before) / 1024;
    kept.reset();
    Bench::openAndPaint(bench, [&f] { return f.open(); });
}
BENCHMARK(BM_OpenPage)->Unit(benchmark::kMillisecond);

void BM_SearchKeystroke(benchmark::State& bench)
{
    Fixture f;
    auto view = f.open();
    Bench::typeInTurn(bench, *view, {QStringLiteral("station 12"), QStringLiteral("station 123")});
}
BENCHMARK(BM_SearchKeystroke)->Unit(benchmark::kMillisecond);

void BM_NextChunk(benchmark::State& bench)
{
    Fixture f;
    std::unique_ptr<HistoryPage> view;
    for (auto _ : bench) {
        bench.PauseTiming();
        // A fresh page every ten chunks, so each run measures a page of a few hundred rows.
        if (!view || view->rowsMade() >= 10 * HistoryPage::chunk) {
            view.reset();
            QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            view = f.open();
        }
        bench.ResumeTiming();
        view->showMore();
        QApplication::sendPostedEvents();
        paint(*view);
    }
}
BENCHMARK(BM_NextChunk)->Unit(benchmark::kMillisecond);

void BM_NewEntryArrives(benchmark::State& bench)
{
    Fixture f;
    auto view = f.open();
    int i = 0;
    for (auto _ : bench) {
        QList<HistoryEntry> next = f.state.history();
        next.prepend(entry(f.services.clock.now(), --i));
        f.state.setHistory(next); // the state's list without its file write
        QApplication::sendPostedEvents();
        paint(*view);
    }
}
BENCHMARK(BM_NewEntryArrives)->Unit(benchmark::kMillisecond);

void BM_DeleteWithFile(benchmark::State& bench)
{
    Fixture f;
    auto view = f.open();
    for (auto _ : bench) {
        f.state.deleteHistory(f.state.history().first().id);
        QApplication::sendPostedEvents();
        paint(*view);
        // A removed row takes a while to go; it is gone before the next removal.
        bench.PauseTiming();
        f.services.clock.advance(1000);
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        bench.ResumeTiming();
    }
}
BENCHMARK(BM_DeleteWithFile)->Unit(benchmark::kMillisecond)->Iterations(50);

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    return Bench::runInTempDataRoot<QApplication>(argc, argv, [] { Theme::setAnimated(false); });
}
