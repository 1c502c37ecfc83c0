// The settings page in the main window: opening it, a switch flipped from its click to the saved
// file, and the resident memory left behind once the page has been closed.
#include "core/model/main_section.h"
#include "core/state/app_state.h"
#include "fake_state_services.h"
#include "still_overlay_main.h"
#include "ui/kit/toggle_switch.h"
#include "ui/pages/settings/settings_page.h"
#include "ui/shell/main_view.h"

#include <QApplication>
#include <QImage>

#include <memory>

namespace {

struct Fixture {
    FakeStateServices<> services;
    std::unique_ptr<AppState> state;
    std::unique_ptr<MainView> view;
    QImage frame{QSize(1000, 700), QImage::Format_ARGB32_Premultiplied};

    Fixture()
    {
        AppState::Services s = services.forState();
        s.scansApps = false;
        state = std::make_unique<AppState>(s);
        view = std::make_unique<MainView>(*state, services.commands, nullptr);
        view->resize(1000, 700);
        view->show();
        QApplication::processEvents();
    }
    SettingsPage* open()
    {
        state->setSection(MainSection::Settings);
        QApplication::sendPostedEvents();
        return qobject_cast<SettingsPage*>(view->page());
    }
    // Leaves for home; the page left behind goes with the next deferred delete.
    void close()
    {
        state->setSection(MainSection::Home);
        QApplication::sendPostedEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    void paint()
    {
        QApplication::sendPostedEvents();
        view->render(&frame);
        benchmark::DoNotOptimize(frame.constBits());
    }
};

void BM_OpenSettingsPage(benchmark::State& bench)
{
    Fixture f;
    for (auto _ : bench) {
        bench.PauseTiming();
        f.close();
        bench.ResumeTiming();
        f.open();
        f.paint();
    }
}
BENCHMARK(BM_OpenSettingsPage)->Unit(benchmark::kMillisecond);

// From the click to config.json written, every control of the page told and the notice shown.
void BM_SwitchToSavedFile(benchmark::State& bench)
{
    Fixture f;
    ToggleSwitch* sounds = f.open()->findChild<ToggleSwitch*>();
    f.paint();
    for (auto _ : bench) {
        sounds->click();
        QApplication::sendPostedEvents();
    }
}
BENCHMARK(BM_SwitchToSavedFile)->Unit(benchmark::kMillisecond);

// The window repainted after such a change.
void BM_RepaintAfterSwitch(benchmark::State& bench)
{
    Fixture f;
    ToggleSwitch* sounds = f.open()->findChild<ToggleSwitch*>();
    for (auto _ : bench) {
        bench.PauseTiming();
        sounds->click();
        QApplication::sendPostedEvents();
        bench.ResumeTiming();
        f.paint();
    }
}
BENCHMARK(BM_RepaintAfterSwitch)->Unit(benchmark::kMillisecond);

// What opening and closing the page twenty times leaves in resident memory, after a first round
// that loads what any page needs once (fonts, styles, icons).
void BM_MemoryAfterClosing(benchmark::State& bench)
{
    Fixture f;
    f.open();
    f.paint();
    f.close();
    for (auto _ : bench) {
        const long before = Bench::residentKiB();
        for (int i = 0; i < 20; ++i) {
            f.open();
            f.paint();
            f.close();
        }
        bench.counters["leftKiB"] = double(Bench::residentKiB() - before);
    }
}
BENCHMARK(BM_MemoryAfterClosing)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

int main(int argc, char** argv)
{
    return Bench::runStillOverlay(argc, argv);
}
