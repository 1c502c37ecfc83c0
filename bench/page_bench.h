#pragma once

#include <QApplication>
#include <QImage>
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

} // namespace Bench
