#pragma once

#include <QApplication>
#include <QImage>
#include <QStringList>
#include <QWidget>

#include <benchmark/benchmark.h>

#include <memory>

// What the page benchmarks share: a page shown alone at the main window's usual size, and one
// frame of it painted offscreen.
namespace Bench {

template <typename Page, typename State> std::unique_ptr<Page> showAlone(State& state)
{
    auto view = std::make_unique<Page>(state);
    view->resize(1000, 700);
    view->show();
    QApplication::sendPostedEvents();
    return view;
}

inline void paint(QWidget& view)
{
    QImage frame(view.size(), QImage::Format_ARGB32_Premultiplied);
    view.render(&frame);
    benchmark::DoNotOptimize(frame.constBits());
}

// Opens and paints the page once an iteration; closing it is not timed.
template <typename Open> void openAndPaint(benchmark::State& bench, Open open)
{
    for (auto _ : bench) {
        auto view = open();
        paint(*view);
        bench.PauseTiming();
        view.reset();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        bench.ResumeTiming();
    }
}

// Types the two queries in turn into the page's search field, one keystroke an iteration, and
// paints what it shows. The rows that went are deleted as the event loop would, so they do not
// pile up.
template <typename Page> void typeInTurn(benchmark::State& bench, Page& view, const QStringList& typed)
{
    int next = 0;
    for (auto _ : bench) {
        view.searchField()->setText(typed.at(next++ % 2));
        QApplication::sendPostedEvents();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        paint(view);
    }
}

} // namespace Bench
