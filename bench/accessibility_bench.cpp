// One accessibility round trip through the AT-SPI backend's thread to a Qt window of our own in
// another process: the selected text of the focused field. Run it inside scripts/with-services.
#include "platform/linux/atspi/atspi_accessibility.h"

#include <QProcess>
#include <QThread>

#include <benchmark/benchmark.h>

#include <chrono>
#include <csignal>
#include <thread>

namespace {

// The focused element once it belongs to `pid`; a short poll while the window comes up.
std::optional<AccessibleElement> focusIn(Accessibility& a11y, qint64 pid)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (std::chrono::steady_clock::now() < deadline) {
        const std::optional<AccessibleElement> focused = a11y.focusedElement();
        if (focused && a11y.processId(*focused) == pid)
            return focused;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return std::nullopt;
}

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    // No QCoreApplication: the calls here come from a thread that blocks by design.
    AtspiAccessibility a11y;
    qputenv("QT_QPA_PLATFORM", "xcb");
    qint64 pid = 0;
    const bool started = QProcess::startDetached(QStringLiteral(QUENDA_ATSPI_TARGET),
                                                 {QString::fromUtf8("a😀b"), QStringLiteral("3,1")}, {}, &pid);
    const std::optional<AccessibleElement> field = started ? focusIn(a11y, pid) : std::nullopt;

    benchmark::RegisterBenchmark("AccessibilitySelectedTextRoundTrip", [&](benchmark::State& state) {
        if (!field) {
            state.SkipWithError("no focused target window; run inside scripts/with-services");
            return;
        }
        for (auto _ : state)
            benchmark::DoNotOptimize(a11y.selectedText(*field));
    })->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("AccessibilityFocusedValueRoundTrip", [&](benchmark::State& state) {
        if (!field) {
            state.SkipWithError("no focused target window; run inside scripts/with-services");
            return;
        }
        for (auto _ : state) {
            const std::optional<AccessibleElement> focused = a11y.focusedElement();
            benchmark::DoNotOptimize(focused ? a11y.value(*focused) : std::nullopt);
        }
    })->Unit(benchmark::kMicrosecond);

    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (started)
        ::kill(static_cast<pid_t>(pid), SIGTERM);
    return 0;
}
