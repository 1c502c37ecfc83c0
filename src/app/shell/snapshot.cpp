#include "app/shell/snapshot.h"

#include "app/shell/demo_desktop.h"
#include "app/shell/run_mode.h"
#include "core/base/system_clock.h"
#include "core/base/work_queue.h"
#include "core/model/main_section.h"
#include "core/notes/apple_notes.h"
#include "core/state/app_state.h"
#include "ui/overlay/pill/overlay_view.h"
#include "ui/shell/main_view.h"
#include "ui/shell/menu_bar_view.h"
#include "ui/shell/onboarding_view.h"

#include <QDir>
#include <QSettings>
#include <QTemporaryDir>

#include <functional>

namespace {

void save(QWidget& view, QSize size, const QString& path)
{
    view.resize(size);
    view.setAttribute(Qt::WA_DontShowOnScreen);
    view.show();
    view.grab().save(path, "PNG");
    view.hide();
}

} // namespace

QStringList Snapshot::screenNames()
{
    QStringList names;
    for (const MainSection section : MainSectionText::table.values())
        names.append(QStringLiteral("main-") + MainSectionText::table.text(section) + QStringLiteral(".png"));
    names << QStringLiteral("menu.png") << QStringLiteral("onboarding.png") << QStringLiteral("overlay.png");
    return names;
}

void Snapshot::run(const QString& directory)
{
    RunMode mode(true);
    mode.applyToProcess();
    QDir().mkpath(directory);
    const QDir out(directory);

    SystemClock clock;
    DemoDesktop desktop;
    WorkQueue work;
    QTemporaryDir scratch;
    QSettings settings(scratch.filePath(QStringLiteral("defaults.ini")), QSettings::IniFormat);
    AppleNotes appleNotes(desktop, settings);
    AppState state(AppState::Services{clock, desktop, desktop, desktop, work, appleNotes, settings,
                                      mode.files(), nullptr, QStringLiteral(QUENDA_VERSION),
                                      mode.checksForUpdates(), mode.scansApps()});
    state.refreshPermissions();
    state.setEngineReady(true);
    state.setEngineLoading(false);
    state.setEngineStatus(QStringLiteral("Ready"));

    MainView main(state);
    for (const MainSection section : MainSectionText::table.values()) {
        state.setSection(section);
        save(main, QSize(1000, 700),
             out.filePath(QStringLiteral("main-") + MainSectionText::table.text(section) +
                          QStringLiteral(".png")));
    }
    MenuBarView menu(state);
    save(menu, menu.sizeHint(), out.filePath(QStringLiteral("menu.png")));
    OnboardingView onboarding(state);
    save(onboarding, QSize(640, 560), out.filePath(QStringLiteral("onboarding.png")));
    OverlayView overlay(state, clock);
    overlay.setCardsStay(mode.cardsStay());
    state.setPhase(Phase::listening());
    save(overlay, overlay.sizeHint().expandedTo(QSize(320, 120)),
         out.filePath(QStringLiteral("overlay.png")));
}
