// The style page with 200 installed applications: opening it, showing every application with
// icons read from their desktop files (cold: a fresh cache; warm: the main window's cache) and a
// search. Counts the icon lookups of a run per application.
#include "core/model/main_section.h"
#include "core/state/app_state.h"
#include "fake_state_services.h"
#include "platform/linux/xdg/xdg_app_icons.h"
#include "still_overlay_main.h"
#include "ui/kit/label_button.h"
#include "ui/kit/search_field.h"
#include "ui/pages/style/app_style_rows.h"
#include "ui/pages/style/style_page.h"
#include "ui/shell/main_view.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

constexpr int appCount = 200;

// 200 desktop files, each naming a picture of its own by path; every third is recognised.
struct Desktop {
    QTemporaryDir dir;
    QList<AppStyleProfile> profiles;

    Desktop()
    {
        const QString apps = dir.filePath(QStringLiteral("applications"));
        QDir().mkpath(apps);
        for (int i = 0; i < appCount; ++i) {
            const QString id = QStringLiteral("org.example.App%1").arg(i, 3, 10, QLatin1Char('0'));
            const QString picture = dir.filePath(id + QStringLiteral(".png"));
            QImage art(64, 64, QImage::Format_ARGB32);
            art.fill(QColor::fromHsv(i % 360, 160, 220));
            art.save(picture);
            QFile file(QDir(apps).filePath(id + QStringLiteral(".desktop")));
            if (file.open(QIODevice::WriteOnly))
                file.write("[Desktop Entry]\nType=Application\nName=App " + QByteArray::number(i) +
                           "\nIcon=" + picture.toUtf8() + "\n");
            const QString suggested = i % 3 == 0 ? QStringLiteral("chat") : QStringLiteral("auto");
            profiles.append({id, QStringLiteral("App %1").arg(i), suggested, suggested, false});
        }
    }
    QStringList folders() const { return {dir.filePath(QStringLiteral("applications"))}; }
};

class CountingIcons final : public AppIcons {
public:
    explicit CountingIcons(const QStringList& folders)
        : m_icons(folders)
    {
    }
    QIcon icon(const QString& appId) override
    {
        ++lookups;
        return m_icons.icon(appId);
    }
    int lookups = 0;

private:
    XdgAppIcons m_icons;
};

struct Fixture {
    Desktop desktop;
    FakeStateServices<> services;
    std::unique_ptr<AppState> state;
    CountingIcons icons{desktop.folders()};
    QImage frame{QSize(1000, 700), QImage::Format_ARGB32_Premultiplied};

    Fixture()
    {
        AppState::Services s = services.forState();
        s.scansApps = false;
        state = std::make_unique<AppState>(s);
        QuendaConfig config = state->config();
        config.appStyles = desktop.profiles;
        AppState::ToastSuppression quiet(*state);
        state->setConfig(config);
    }

    std::unique_ptr<MainView> window()
    {
        auto view = std::make_unique<MainView>(*state, services.commands, nullptr, nullptr, &icons);
        view->resize(1000, 700);
        view->show();
        QApplication::processEvents();
        return view;
    }
    // The event loop deletes the pages left behind; here it is done outside the timing, else the
    // window gathers hidden pages run after run.
    static void dropLeftPages() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }
    StylePage* open(MainView& view)
    {
        state->setSection(MainSection::Home);
        state->setSection(MainSection::Style);
        QApplication::sendPostedEvents();
        return qobject_cast<StylePage*>(view.page());
    }
    void paint(MainView& view)
    {
        QApplication::sendPostedEvents();
        view.render(&frame);
        benchmark::DoNotOptimize(frame.constBits());
    }
};

void BM_OpenStylePage(benchmark::State& bench)
{
    Fixture f;
    auto view = f.window();
    for (auto _ : bench) {
        bench.PauseTiming();
        f.dropLeftPages();
        bench.ResumeTiming();
        f.open(*view);
        f.paint(*view);
    }
}
BENCHMARK(BM_OpenStylePage)->Unit(benchmark::kMillisecond);

void BM_ShowAllAppsColdIcons(benchmark::State& bench)
{
    Fixture f;
    for (auto _ : bench) {
        bench.PauseTiming();
        f.icons.lookups = 0;
        auto view = f.window(); // a new window brings an empty icon cache
        StylePage* page = f.open(*view);
        bench.ResumeTiming();
        page->appStyles()->toggle()->click();
        f.paint(*view);
        bench.PauseTiming();
        bench.counters["lookupsPerApp"] = double(f.icons.lookups) / appCount;
        view.reset();
        bench.ResumeTiming();
    }
}
BENCHMARK(BM_ShowAllAppsColdIcons)->Unit(benchmark::kMillisecond);

void BM_ShowAllAppsWarmIcons(benchmark::State& bench)
{
    Fixture f;
    auto view = f.window();
    f.open(*view)->appStyles()->toggle()->click(); // every icon looked up once
    f.icons.lookups = 0;
    for (auto _ : bench) {
        bench.PauseTiming();
        StylePage* page = f.open(*view);
        f.dropLeftPages();
        bench.ResumeTiming();
        page->appStyles()->toggle()->click();
        f.paint(*view);
    }
    bench.counters["lookupsAfterWarmUp"] = f.icons.lookups;
}
BENCHMARK(BM_ShowAllAppsWarmIcons)->Unit(benchmark::kMillisecond);

void BM_SearchApps(benchmark::State& bench)
{
    Fixture f;
    auto view = f.window();
    StylePage* page = f.open(*view);
    page->appStyles()->toggle()->click();
    f.paint(*view);
    const QStringList queries{QStringLiteral("app 1"), QStringLiteral("app 12"), QStringLiteral("example"),
                              QString()};
    int next = 0;
    for (auto _ : bench) {
        page->appStyles()->search()->setText(queries.at(next++ % queries.size()));
        f.paint(*view);
    }
}
BENCHMARK(BM_SearchApps)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    return Bench::runStillOverlay(argc, argv);
}
