// A section switch of the main window (the page built anew, laid out and painted) and one run of
// the snapshot renderer over every screen in both schemes.
#include "app/shell/snapshot.h"
#include "core/model/main_section.h"
#include "core/state/app_state.h"
#include "fake_state_services.h"
#include "still_overlay_main.h"
#include "ui/pages/page_table.h"
#include "ui/shell/main_view.h"

#include <QApplication>
#include <QImage>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

void BM_SectionSwitch(benchmark::State& bench)
{
    FakeStateServices<> s;
    AppState state(s.forState());
    MainView view(state, s.commands);
    view.resize(1000, 700);
    view.show();
    QApplication::processEvents();
    QImage frame(view.size(), QImage::Format_ARGB32_Premultiplied);
    const std::span<const PageTable::Row> pages = PageTable::rows();
    size_t next = 0;
    for (auto _ : bench) {
        state.setSection(pages[next++ % pages.size()].section);
        QApplication::sendPostedEvents();
        view.render(&frame);
        benchmark::DoNotOptimize(frame.constBits());
    }
}
BENCHMARK(BM_SectionSwitch)->Unit(benchmark::kMillisecond);

void BM_EverySnapshotScreen(benchmark::State& bench)
{
    for (auto _ : bench) {
        QTemporaryDir out;
        benchmark::DoNotOptimize(Snapshot::run(out.path()).size());
    }
}
BENCHMARK(BM_EverySnapshotScreen)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

int main(int argc, char** argv)
{
    return Bench::runStillOverlay(argc, argv);
}
