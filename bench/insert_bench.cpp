// The inserter's own overhead from insert() to the paste chord posted, on the fake desktop; and,
// inside scripts/with-services, how long the clipboard restore really waits after a paste into a
// Qt window of our own.
#include "core/base/system_clock.h"
#include "dictation/insert/text_inserter.h"
#include "platform/fake/fake_accessibility.h"
#include "platform/fake/fake_key_synthesizer.h"
#include "platform/fake/fake_pasteboard.h"
#include "platform/fake/fake_window_system.h"
#include "platform/fake/manual_clock.h"
#include "platform/linux/atspi/atspi_accessibility.h"
#include "platform/linux/clipboard/qt_clipboard_pasteboard.h"
#include "platform/linux/keys/chord_synthesizer.h"
#include "platform/linux/x11/xtest_keyboard.h"
#include "platform/linux/xdg/linux_window_system.h"
#include "platform/permission_probe.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QProcess>

#include <benchmark/benchmark.h>

#include <chrono>
#include <csignal>

namespace {

using Steady = std::chrono::steady_clock;

class Granted final : public PermissionProbe {
public:
    bool microphoneAvailable() const override { return true; }
    bool accessibilityTrusted() const override { return true; }
};

// Serves the event loop until `done` holds or the time is up.
bool spin(const std::function<bool()>& done, int timeoutMs = 5000)
{
    const auto deadline = Steady::now() + std::chrono::milliseconds(timeoutMs);
    while (!done()) {
        if (Steady::now() > deadline)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    return true;
}

void insertToChordPosted(benchmark::State& state)
{
    ManualClock clock;
    FakeAccessibility a11y(&clock);
    FakePasteboard board;
    FakeKeySynthesizer keys(clock);
    FakeWindowSystem windows;
    Granted granted;
    TextInserter inserter({.accessibility = a11y,
                           .keys = keys,
                           .pasteboard = board,
                           .windows = windows,
                           .permissions = granted,
                           .clock = clock,
                           .ownPid = 1});
    a11y.setFocused(a11y.add(FakeAccessibility::field({})));
    board.writeText(QStringLiteral("the user's clipboard"));
    QObject context;
    const QString text = QStringLiteral("a dictated sentence of ordinary length, with a comma.");
    for (auto _ : state) {
        const qsizetype before = keys.posted().size();
        inserter.insert(text, &context, [](const InsertResult&) {});
        while (keys.posted().size() == before) {
            QCoreApplication::processEvents();
            clock.advance(0);
        }
    }
}

void restoreWaitOnTheDesktop(benchmark::State& state)
{
    if (qEnvironmentVariable("QUENDA_IN_SERVICES") != QLatin1String("1")) {
        state.SkipWithError("run inside scripts/with-services");
        return;
    }
    SystemClock clock;
    XTestKeyboard keyboard;
    ChordSynthesizer keys(keyboard, clock);
    QtClipboardPasteboard board;
    LinuxWindowSystem windows;
    AtspiAccessibility a11y;
    Granted granted;
    TextInserter inserter({.accessibility = a11y,
                           .keys = keys,
                           .pasteboard = board,
                           .windows = windows,
                           .permissions = granted,
                           .clock = clock,
                           .ownPid = QCoreApplication::applicationPid()});
    QProcess target;
    target.start(QStringLiteral(QUENDA_ATSPI_TARGET), {QString(), QStringLiteral("0,0")});
    if (!spin([&] { return target.canReadLine() && target.readLine().trimmed() == "ready"; }, 20000)) {
        state.SkipWithError("the Qt window did not take the focus");
        return;
    }
    // Until the accessibility bus knows the window's focus, the paste cannot be seen landing.
    QObject context;
    bool focused = false;
    (void)spin(
        [&] {
            a11y.run<bool>([](Accessibility& a) { return a.focusedElement().has_value(); }, &context,
                           [&](bool f) { focused = f; });
            return focused;
        },
        10000);
    int n = 0;
    for (auto _ : state) {
        board.writeText(QStringLiteral("mine"));
        std::optional<Steady::time_point> posted;
        inserter.insert(QStringLiteral(" word%1").arg(++n), &context,
                        [&](const InsertResult&) { posted = Steady::now(); });
        const bool restored = spin([&] { return posted && board.plainText() == QStringLiteral("mine"); });
        if (!restored) {
            state.SkipWithError("the clipboard did not come back");
            break;
        }
        state.SetIterationTime(std::chrono::duration<double>(Steady::now() - *posted).count());
    }
    target.kill();
    target.waitForFinished();
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", qEnvironmentVariableIsSet("DISPLAY") ? "xcb" : "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RegisterBenchmark("InsertToChordPostedOnFakes", insertToChordPosted)
        ->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("RestoreWaitAfterARealPaste", restoreWaitOnTheDesktop)
        ->UseManualTime()
        ->Iterations(15)
        ->Unit(benchmark::kMillisecond);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
