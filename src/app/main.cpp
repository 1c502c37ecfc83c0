#include "app/composition_root.h"
#include "app/shell/command_line.h"
#include "app/shell/legacy_name.h"
#include "app/shell/run_mode.h"
#include "app/shell/shell_controller.h"
#include "app/shell/single_instance.h"
#include "app/shell/snapshot.h"
#include "app/shell/termination_signals.h"
#include "app/shell/update_progress_hud.h"
#include "core/base/app_id.h"
#include "core/base/timing.h"
#include "platform/linux/gnome/desktop_motion.h"
#include "ui/kit/theme.h"
#include "ui/shell/shell_window_host.h"

#include <QApplication>

#include <cstdio>
#include <malloc.h>

int main(int argc, char** argv)
{
    // Most of the program's threads wait and allocate little; a heap of glibc's for each of them
    // would keep its own pages. Two heaps serve them all.
    mallopt(M_ARENA_MAX, 2);
    // A binding's press and release run as two processes that may overtake each other: the time
    // each started tells their order.
    const qint64 startedMs = SingleInstance::monotonicMs();
    // A snapshot renders offscreen, so it also runs where no display is.
    const QStringList raw = [&] {
        QStringList list;
        for (int i = 0; i < argc; ++i)
            list.append(QString::fromLocal8Bit(argv[i]));
        return list;
    }();
    const LaunchRequest earlyRequest = LaunchRequest::parse(raw, {});
    const LaunchRequest::Mode early = earlyRequest.mode;
    // Before any window system or file is touched, so both work anywhere.
    if (early == LaunchRequest::Mode::Help || early == LaunchRequest::Mode::Version) {
        const QString text = early == LaunchRequest::Mode::Help
                                 ? LaunchRequest::helpText()
                                 : LaunchRequest::versionText(QStringLiteral(QUENDA_VERSION));
        fputs(text.toLocal8Bit().constData(), stdout);
        return 0;
    }
    if (early == LaunchRequest::Mode::Hotkey) {
        // Run by a compositor binding at every key press: no window system, no second program.
        QCoreApplication core(argc, argv);
        if (!earlyRequest.hotkey) {
            fputs("usage: quenda --hotkey press|release\n", stderr);
            return 2;
        }
        if (SingleInstance::sendHotkey(*earlyRequest.hotkey == LaunchRequest::HotkeyCommand::Press,
                                       startedMs))
            return 0;
        fputs("quenda: not running; start it first\n", stderr);
        return 1;
    }
    if (early == LaunchRequest::Mode::Snapshot && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (early == LaunchRequest::Mode::Normal) {
        CompositionRoot::switchOnAccessibility();
        CompositionRoot::preferX11();
    }
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Morvane"));
    QApplication::setApplicationName(QStringLiteral("Quenda"));
    QApplication::setApplicationVersion(QStringLiteral(QUENDA_VERSION));
    QApplication::setDesktopFileName(appId);
    const LaunchRequest request =
        LaunchRequest::parse(QApplication::arguments(), QStringLiteral(QUENDA_VERSION));
    // "--snapshot" without a folder runs the program as usual but leaves the user's files alone.
    RunMode mode(request.snapshotFlag);
    mode.applyToProcess();
    if (request.mode == LaunchRequest::Mode::Snapshot) {
        Snapshot::run(request.snapshotDir);
        return 0;
    }
    if (request.mode == LaunchRequest::Mode::UpdateHud) {
        UpdateProgressHud::runStandalone(request.hudVersion, request.parentPid);
        return 0;
    }
    if (LegacyName::relocateIfNeeded())
        return 0;
    LegacyName::removeOldBundle();
    // Read once: the desktop's wish to keep still takes effect at the next start.
    if (DesktopMotion::reduced())
        Theme::setAnimated(false);

    SingleInstance instance;
    if (instance.claim() == SingleInstance::Claim::HandedOver)
        return 0;
    // The program lives in the tray; closing its windows must not end it.
    QApplication::setQuitOnLastWindowClosed(false);
    TerminationSignals terminations;
    CompositionRoot root(mode);
    ShellController& shell = root.shell();
    QObject::connect(&terminations, &TerminationSignals::received, &app, [](int) { QApplication::quit(); });
    QObject::connect(&root.windows(), &ShellWindowHost::quitRequested, &app, [] { QApplication::quit(); });
    QObject::connect(&instance, &SingleInstance::activationRequested, &shell,
                     [&shell] { shell.showMain(std::nullopt); });
    QObject::connect(&instance, &SingleInstance::hotkeyCommanded, &shell,
                     [&root](bool pressed, qint64 sentAtMs) { root.hotkeyCommand(pressed, sentAtMs); });
    QObject::connect(&app, &QApplication::aboutToQuit, &shell, [&shell] { shell.stop(); });
    shell.launch(mode.snapshot());
    const int status = QApplication::exec();
    Timing::mark(QStringLiteral("stopped"));
    Timing::flush();
    return status;
}
