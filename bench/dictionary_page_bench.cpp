// The dictionary page over 2,000 entries, offscreen: opening it and one search keystroke, each
// painted.
#include "bench_main.h"
#include "core/state/app_state.h"
#include "fake_state_services.h"
#include "page_bench.h"
#include "ui/kit/search_field.h"
#include "ui/kit/theme.h"
#include "ui/pages/dictionary/dictionary_page.h"

#include <QApplication>

#include <memory>

namespace {

constexpr int entryCount = 2000;

// Every third entry a bare term, every fifth learned, and a comment now and then.
QString dictionary()
{
    QStringList lines{QStringLiteral("# Names and terms")};
    for (int i = 0; i < entryCount; ++i) {
        if (i % 50 == 0)
            lines << QStringLiteral("# group %1").arg(i / 50);
        if (i % 5 == 0)
            lines << QStringLiteral("# learned");
        lines << (i % 3 == 0 ? QStringLiteral("Term%1").arg(i)
                             : QStringLiteral("heard form %1 -> Written Term %1").arg(i));
    }
    return lines.join(u'\n');
}

struct Fixture {
    FakeStateServices<> services;
    AppState state{services.forState()};

    Fixture()
    {
        QuendaConfig config = state.config();
        config.dictionary = dictionary();
        AppState::ToastSuppression quiet(state);
        state.setConfig(config);
    }

    std::unique_ptr<DictionaryPage> open() { return Bench::showAlone<DictionaryPage>(state); }
};

using Bench::paint;

void BM_OpenPage(benchmark::State& bench)
{
    Fixture f;
    Bench::openAndPaint(bench, [&f] { return f.open(); });
}
BENCHMARK(BM_OpenPage)->Unit(benchmark::kMillisecond);

// Typing one more letter and taking it back: the two queries share no entry, so each keystroke
// replaces every row on show, the worst a keystroke can do.
void BM_FilterKeystroke(benchmark::State& bench)
{
    Fixture f;
    auto view = f.open();
    Bench::typeInTurn(bench, *view, {QStringLiteral("term 1"), QStringLiteral("term 12")});
    bench.counters["rowsMade"] = benchmark::Counter(view->rowsMade(), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_FilterKeystroke)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    return Bench::runInTempDataRoot<QApplication>(argc, argv, [] { Theme::setAnimated(false); });
}
