#include "app/shell/shell_controller.h"

#include "app/shell/correction_model_lookup.h"
#include "core/base/app_id.h"
#include "core/base/timing.h"
#include "core/model/hotkey.h"
#include "core/state/app_state.h"
#include "core/text/l10n.h"
#include "dictation/controller/dictation_controller.h"
#include "dictation/controller/learner.h"
#include "dictation/controller/overlay_host.h"
#include "dictation/hotkey/hotkey_monitor.h"
#include "dictation/insert/text_inserter.h"
#include "platform/login_item.h"
#include "platform/window_system.h"
#include "speech/engine_control.h"
#include "speech/provider_keys.h"
#include "ui/shell/shell_windows.h"
#include "update/update_checker.h"

#include <QCoreApplication>
#include <QTcpServer>

ShellController::ShellController(const Services& services, QObject* parent)
    : QObject(parent)
    , m_state(services.state)
    , m_clock(services.clock)
    , m_hotkeys(services.hotkeys)
    , m_engine(services.engine)
    , m_dictation(services.dictation)
    , m_learner(services.learner)
    , m_loginItem(services.loginItem)
    , m_windows(services.windows)
    , m_overlay(services.overlay)
    , m_windowSystem(services.windowSystem)
    , m_keys(services.keys)
    , m_updates(services.updates)
    , m_refreshKeys(services.refreshKeys)
    , m_restoreSilence(services.restoreSilence)
    , m_prepareSounds(services.prepareSounds)
    , m_lookup(new CorrectionModelLookup(services.state, services.engine, this))
{
    connect(&m_windows, &ShellWindows::onboardingClosed, this, &ShellController::onboardingClosed);
    connect(&m_windows, &ShellWindows::menuOpening, this, [this] {
        const std::optional<AppWindow> active = m_windowSystem.activeWindow();
        m_beforeMenu = active && active->pid != QCoreApplication::applicationPid() ? active : std::nullopt;
        // The menu shows a newer release; looking for one from here installs nothing.
        m_updates.check(false, false);
    });
    // The hotkey, held or tapped twice with the menu open, dictates into the field as the menu's
    // button does: its paste must not go into the menu.
    // Closed as the hotkey goes down, not when the hold or double tap begins: the controller remembers
    // the field and the selection as it starts, and by then the window manager has given the focus back.
    connect(&m_hotkeys, &HotkeyMonitor::pressed, this, &ShellController::closeMenuForDictation);
    connect(&m_state, &AppState::phaseChanged, this, [this] {
        const bool idle = m_state.phase().is(Phase::Kind::Idle);
        // An automatic install waits for the dictation to end.
        m_updates.setIdle(idle);
        if (idle)
            showLoginNotice();
    });
    connect(&m_updates, &UpdateChecker::statusChanged, this,
            [this] { m_state.setUpdate(m_updates.status()); });
    connect(&m_updates, &UpdateChecker::dismissedChanged, this,
            [this] { m_state.setDismissedUpdate(m_updates.dismissed()); });
    connect(&m_dictation, &DictationController::mainWanted, this, &ShellController::showMain);
}

ShellController::~ShellController()
{
    stop();
}

ShellController::LaunchWindow ShellController::launchWindow(bool onboarded, bool micGranted, bool axGranted)
{
    if (!onboarded)
        return LaunchWindow::Onboarding;
    if (!micGranted || !axGranted)
        return LaunchWindow::Home;
    return LaunchWindow::None;
}

void ShellController::launch(bool snapshot)
{
    if (m_launched)
        return;
    m_launched = true;
    if (!snapshot && m_restoreSilence)
        m_restoreSilence();
    if (m_prepareSounds && m_state.config().playSounds)
        m_prepareSounds();
    m_hasStatusItem = m_windows.installStatusItem();
    if (!m_hasStatusItem)
        Timing::mark(QStringLiteral("no system tray: the main window opens at launch instead"));
    wireState();
    m_warmupTimer = m_clock.every(kWarmupMs, this, [this] {
        if (m_engine.ready() && m_state.phase().is(Phase::Kind::Idle))
            m_engine.prewarm();
    });
    applyHotkey(m_state.config());
    // Nobody is registered before onboarding has shown them the switch.
    if (m_state.config().onboarded)
        updateLaunch(m_state.config().launchAtLogin);
    m_hotkeys.start();
    if (!snapshot && m_refreshKeys)
        m_refreshKeys(m_state.config());
    m_engine.start();
    engineUpdated();
    observeFrontApp();
    m_state.rescanApps();
    m_state.refreshPermissions();
    m_permissionTimer = m_clock.every(kPermissionPollMs, this, [this] { pollPermissions(); });
    m_overlay.reshape();

    m_launchedAtMs = m_clock.elapsedMs();
    m_greetingPending = true;
    greetIfAnswered();

    if (!snapshot)
        m_updateCheck = m_clock.after(kUpdateCheckDelayMs, this, [this] {
            m_updateCheck.reset();
            m_updates.check(false);
        });
    Timing::mark(QStringLiteral("launched"));
}

void ShellController::greetIfAnswered()
{
    if (!m_greetingPending)
        return;
    // The probe reads in the background: a decision on its stand-ins would open the main window
    // at every launch.
    if (m_state.config().onboarded && !m_state.permissionsAnswered() &&
        m_clock.elapsedMs() - m_launchedAtMs < kPermissionAnswerWaitMs)
        return;
    m_greetingPending = false;
    const LaunchWindow window =
        launchWindow(m_state.config().onboarded, m_state.micGranted(), m_state.axGranted());
    if (window == LaunchWindow::Onboarding)
        m_windows.showOnboarding();
    else if (window == LaunchWindow::Home)
        showMain(MainSection::Home);
    else if (!m_hasStatusItem)
        // Without a tray nothing else would show that the program runs or reach its settings.
        showMain(std::nullopt);
}

void ShellController::stop()
{
    if (!m_launched || m_stopped)
        return;
    m_stopped = true;
    // First, so that a hold under way ends its recording before the muting is given back.
    m_hotkeys.stop();
    m_dictation.releaseSilence();
    for (Clock::Timer* timer : {&m_permissionTimer, &m_warmupTimer, &m_updateCheck, &m_noticeReset})
        timer->reset();
    m_engine.shutdown();
}

void ShellController::wireState()
{
    connect(&m_state, &AppState::configWritten, this, &ShellController::configChanged);
    connect(&m_state, &AppState::phaseChanged, this, [this] { m_windows.refreshStatusIcon(); });
    connect(&m_state, &AppState::updateChanged, this, [this] { m_windows.refreshStatusIcon(); });
    connect(&m_state, &AppState::dismissedUpdateChanged, this, [this] { m_windows.refreshStatusIcon(); });
    // The tooltip also says whether the engine is ready, a recording is hands-free, and the key.
    for (const auto changed : {&AppState::handsFreeChanged, &AppState::engineReadyChanged,
                               &AppState::engineLoadingChanged, &AppState::configChanged})
        connect(&m_state, changed, this, [this] { m_windows.refreshStatusIcon(); });
    m_windows.refreshStatusIcon();
}

void ShellController::showMain(std::optional<MainSection> section)
{
    if (section)
        m_state.setSection(*section);
    m_windows.closeMenu();
    m_windows.showMain();
    Timing::mark(QStringLiteral("main window shown"));
    // A window manager's focus-stealing prevention may keep a program in the background from
    // raising its own window over the one in front; asked as the desktop's pager asks, it does.
    if (const std::optional<quint64> handle = m_windows.mainWindowHandle()) {
        AppWindow main;
        main.window = *handle;
        main.pid = int(QCoreApplication::applicationPid());
        if (const WindowSystem::Activated activated = m_windowSystem.activate(main); !activated.ok())
            Timing::mark(QStringLiteral("main window not activated: ") + activated.error().detail);
    }
}

void ShellController::toggleRecording()
{
    m_startFromMenu.reset();
    if (!closeMenuForDictation()) {
        m_dictation.toggleHandsFree();
        return;
    }
    if (m_state.phase().is(Phase::Kind::Listening)) {
        m_dictation.toggleHandsFree();
        return;
    }
    // The window manager gives the focus back a moment later; the recording remembers the field
    // that has it then.
    m_startFromMenu = m_clock.after(TextInserter::activationDelayMs, this, [this] {
        m_startFromMenu.reset();
        m_dictation.toggleHandsFree();
    });
}

bool ShellController::closeMenuForDictation()
{
    if (!m_windows.menuOpen())
        return false;
    // The open menu holds the keyboard, so a paste would go into it, and it covers the pill.
    m_windows.closeMenu();
    if (m_beforeMenu) {
        if (const WindowSystem::Activated activated = m_windowSystem.activate(*m_beforeMenu); !activated.ok())
            Timing::mark(QStringLiteral("focus not given back after the menu: ") + activated.error().detail);
    }
    return true;
}

void ShellController::openSettings(SettingsPlace place)
{
    m_state.setSettingsToOpen(place);
    showMain(MainSection::Settings);
}

void ShellController::openNotes()
{
    // Linux has no Notes application to reveal a note in; the own notes page stands in.
    m_windows.closeMenu();
    showMain(MainSection::Notes);
}

void ShellController::reloadEngine()
{
    m_engine.restart();
}

void ShellController::lookupCorrectionModel(const QString& key, const QString& baseURL)
{
    refreshCorrectionModel(key, baseURL);
}

void ShellController::translateSelection(const QString& code)
{
    m_dictation.translateSelection(code);
}

void ShellController::applyOverlayChoice(const OverlayResultChoice& choice)
{
    m_dictation.applyOverlayChoice(choice);
}

bool ShellController::portFree(qint64 port) const
{
    QTcpServer probe;
    return port > 0 && port <= 65535 && probe.listen(QHostAddress::LocalHost, quint16(port));
}

void ShellController::checkSpeechServer(QObject* context, SpeechCheckDone done)
{
    m_engine.checkSpeechServer(context, [done = std::move(done)](const EngineResult<QString>& heard) {
        done(heard.ok() ? SpeechCheck{true, heard.value()} : SpeechCheck{false, heard.error().message});
    });
}

void ShellController::finishOnboarding()
{
    markOnboarded();
    m_windows.closeOnboarding();
}

void ShellController::onboardingClosed()
{
    // Without a tray nothing else would be on screen to reach the program by.
    if (!m_hasStatusItem && !m_stopped)
        showMain(std::nullopt);
    // Closing the window counts as finishing onboarding.
    markOnboarded();
}

void ShellController::markOnboarded()
{
    if (m_state.config().onboarded)
        return;
    m_state.changeConfigUnasked([](QuendaConfig& config) { config.onboarded = true; });
    // Onboarding's last row showed the switch: only now does its setting reach the desktop.
    updateLaunch(m_state.config().launchAtLogin);
}

void ShellController::applyHotkey(const QuendaConfig& config)
{
    m_hotkeys.setHotkey(config.hotkey);
}

void ShellController::configChanged(const QuendaConfig& previous, const QuendaConfig& current)
{
    applyHotkey(current);
    if (previous.launchAtLogin != current.launchAtLogin)
        updateLaunch(current.launchAtLogin);
    if (previous.modelPath != current.modelPath || previous.whisperModel != current.whisperModel ||
        previous.asrEngine != current.asrEngine || previous.asrQuality != current.asrQuality ||
        previous.port != current.port)
        m_engine.restart();
    if (previous.othersAudio != current.othersAudio) {
        m_dictation.releaseSilence();
        if (m_state.phase().is(Phase::Kind::Listening))
            m_dictation.scheduleSilence();
    }
    if (previous.learnEdits && !current.learnEdits)
        m_learner.stop();
    if (m_prepareSounds && current.playSounds && !previous.playSounds)
        m_prepareSounds();
    // Each keystroke in a settings field changes the configuration; only the endpoints decide
    // which keys are read from the Secret Service.
    if (m_refreshKeys && !m_stopped && previous.correctionEndpoints != current.correctionEndpoints)
        m_refreshKeys(current);
}

void ShellController::engineUpdated()
{
    const bool newlyReady = !m_state.engineReady() && m_engine.ready();
    m_state.setEngineReady(m_engine.ready());
    if (newlyReady)
        refreshCorrectionModel(m_keys.generalKey(), std::nullopt);
    m_state.setPolishAvailable(m_engine.polishAvailable());
    m_state.setEngineStatus(m_engine.statusText());
    m_state.setEngineLoading(m_engine.statusIsLoading());
}

void ShellController::refreshCorrectionModel(const QString& key, const std::optional<QString>& baseURL)
{
    m_lookup->refresh(key, baseURL);
}

void ShellController::providerKeysChanged()
{
    if (m_state.engineReady())
        refreshCorrectionModel(m_keys.generalKey(), std::nullopt);
}

void ShellController::pollPermissions()
{
    const bool hadAccessibility = m_state.axGranted();
    m_state.refreshPermissions();
    greetIfAnswered();
    if (hadAccessibility || !m_state.axGranted())
        return;
    // The overlay's placement may need what was just granted. The key source reads X11 input,
    // which needs no grant: a restart would only lose the keys held meanwhile.
    m_overlay.reshape();
}

void ShellController::updateLaunch(bool enabled)
{
    // A failure still waiting to be shown is moot once the flag is changed again.
    m_loginNotice.reset();
    if (enabled == m_loginItem.enabled())
        return;
    const LoginItem::Outcome outcome = enabled ? m_loginItem.enable() : m_loginItem.disable();
    if (outcome.ok())
        return;
    m_loginNotice = Phase::failed(L10n::format(QStringLiteral("notice.login"), {outcome.error()}));
    showLoginNotice();
}

void ShellController::showLoginNotice()
{
    // A recording or its processing keeps its phase, or a second toggle would start another
    // recording instead of ending this one; the notice waits until the phase is idle again.
    const Phase::Kind kind = m_state.phase().kind();
    const bool busy = kind == Phase::Kind::Listening || kind == Phase::Kind::Transcribing ||
                      kind == Phase::Kind::Polishing || kind == Phase::Kind::Translating;
    if (!m_loginNotice || busy)
        return;
    const Phase notice = *std::exchange(m_loginNotice, std::nullopt);
    m_state.setPhase(notice);
    m_noticeReset = m_clock.after(kLoginNoticeMs, this, [this, notice] {
        m_noticeReset.reset();
        if (m_state.phase() == notice)
            m_state.setPhase(Phase::idle());
    });
}

void ShellController::observeFrontApp()
{
    const auto remember = [this](const FrontApp& app) {
        m_state.setFrontApp(app);
        AppState::ToastSuppression quiet(m_state);
        m_state.rememberApp(app);
    };
    if (const std::optional<FrontApp> app = m_windowSystem.frontmostApp())
        remember(*app);
    m_windowSystem.watchActiveApp(this, [remember](const std::optional<AppWindow>& active) {
        // Our own windows and windows no desktop file names do not count as an application.
        if (!active || active->app.bundleID.isEmpty() || active->pid == QCoreApplication::applicationPid() ||
            active->app.bundleID == appId)
            return;
        FrontApp app = active->app;
        app.name = app.name.trimmed();
        if (app.name.isEmpty())
            app.name = app.bundleID;
        remember(app);
    });
}
