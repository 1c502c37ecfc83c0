#include "app/composition_root.h"

#include "app/hotkey_backends.h"
#include "app/session_backends.h"
#include "app/shell/overlay_controller_adapter.h"
#include "app/shell/run_mode.h"
#include "app/shell/shell_controller.h"
#include "core/base/desktop_session.h"
#include "core/base/resource_paths.h"
#include "core/base/system_clock.h"
#include "core/base/timing.h"
#include "core/base/work_queue.h"
#include "core/keys/open_ai_key_store.h"
#include "core/notes/apple_notes.h"
#include "core/state/app_state.h"
#include "dictation/capture/audio_recorder.h"
#include "dictation/controller/dictation_controller.h"
#include "dictation/controller/dictionary_learner_adapter.h"
#include "dictation/controller/permission_probe_adapter.h"
#include "dictation/controller/text_inserter_adapter.h"
#include "dictation/hotkey/hotkey_monitor.h"
#include "dictation/hotkey/own_chords.h"
#include "dictation/insert/text_inserter.h"
#include "dictation/learn/dictionary_learner.h"
#include "dictation/silence/output_silence.h"
#include "platform/linux/atspi/accessibility_bus.h"
#include "platform/linux/atspi/atspi_accessibility.h"
#include "platform/linux/atspi/session_accessibility_repair.h"
#include "platform/linux/audio/qaudio_source_input.h"
#include "platform/linux/audio/qsound_effect_player.h"
#include "platform/linux/hotkey/command_key_source.h"
#include "platform/linux/net/http_update_feed.h"
#include "platform/linux/permission/linux_permission_probe.h"
#include "platform/linux/process/qprocess_script_runner.h"
#include "platform/linux/pulse/pulse_output_devices.h"
#include "platform/linux/secret/libsecret_store.h"
#include "platform/linux/x11/x11_floating_windows.h"
#include "platform/linux/xdg/desktop_launcher_linux.h"
#include "platform/linux/xdg/linux_window_system.h"
#include "platform/linux/xdg/xdg_app_icons.h"
#include "platform/linux/xdg/xdg_autostart_login_item.h"
#include "speech/provider_key_snapshot.h"
#include "speech/speech_engine.h"
#include "ui/overlay/overlay_view.h"
#include "ui/overlay/placement/overlay_controller.h"
#include "ui/overlay/placement/qt_screen_source.h"
#include "ui/shell/shell_window_host.h"
#include "update/update_checker.h"

#include <QCoreApplication>
#include <QSettings>

#include <memory>

struct CompositionRoot::Parts {
    RunMode& mode;
    SystemClock clock;
    QSettings settings;
    // Before the permissions: trust follows the route that posts keys in this session.
    SessionBackends session{clock};
    // Each work queue comes after what its jobs read, so it is torn down first and waits for them.
    WorkQueue probeWork;
    LinuxPermissionProbe permissions{clock, probeWork, {.keys = session.routes().keys}};
    DesktopLauncherLinux launcher;
    SessionAccessibilityRepair accessibilityRepair{
        probeWork, [this](const QStringList& panes) { return launcher.openSettings(panes); }};
    // The state's scan at launch reads the desktop files for the window system too.
    LinuxWindowSystem windowSystem{XdgApplications(),
                                   {},
                                   nullptr,
                                   mode.scansApps() ? LinuxWindowSystem::FirstScan::ByInstalledApps
                                                    : LinuxWindowSystem::FirstScan::AtStart};
    WorkQueue appScans;
    QProcessScriptRunner scripts{clock};
    AppleNotes appleNotes{scripts, settings};
    // A build without a feed address has no feed: every check then ends in "failed".
    std::unique_ptr<HttpUpdateFeed> updateFeed =
        HttpUpdateFeed::builtInUrl().isEmpty()
            ? nullptr
            : std::make_unique<HttpUpdateFeed>(HttpUpdateFeed::builtInUrl());
    UpdateChecker updates{mode.updateFeed(updateFeed.get()), settings, QStringLiteral(QUENDA_VERSION)};
    AppState state{AppState::Services{clock, permissions, launcher, windowSystem, appScans, appleNotes,
                                      mode.files(), QStringLiteral(QUENDA_VERSION), updates.checks(),
                                      mode.scansApps()}};

    LibsecretStore secrets;
    OpenAIKeyStore keyStore{mode.secrets(secrets), settings};
    ProviderKeySnapshot keys{keyStore};
    SpeechEngine engine{clock, [this] { return state.config(); }, keys, EngineLocations::installed()};

    HotkeyBackends hotkeyRoutes{clock, session.offer()};
    HotkeyMonitor hotkeys{hotkeyRoutes.source(), clock};
    QAudioSourceInput audioInput;
    AudioRecorder recorder{audioInput};
    AtspiAccessibility accessibility;
    OwnChords ownChords{session.keys(), clock};
    TextInserter textInserter{TextInserter::Services{accessibility, ownChords, session.pasteboard(),
                                                     windowSystem, permissions, clock,
                                                     QCoreApplication::applicationPid(), session.primary()}};
    TextInserterAdapter inserter{textInserter, accessibility, permissions};
    PulseOutputDevices outputs;
    OutputSilence silence{outputs, OutputSilence::defaultRecordPath()};
    DictionaryLearner dictionaryLearner{accessibility, clock};
    DictionaryLearnerAdapter learner{dictionaryLearner};
    QSoundEffectPlayer sounds{ResourcePaths::directory()};
    PermissionProbeAdapter microphone{permissions};
    DictationController dictation{DictationController::Services{state, clock, engine, recorder, inserter,
                                                                mode.silencer(silence), mode.learner(learner),
                                                                sounds, microphone, windowSystem, hotkeys}};

    QtScreenSource screens;
    X11FloatingWindows floating{session.routes().panel == PanelRoute::X11OutsideManager};
    OverlayController overlay{state, OverlayController::Services{clock, screens, floating}};
    OverlayControllerAdapter overlayHost{overlay};
    XdgAutostartLoginItem loginItem{QCoreApplication::applicationFilePath()};
    XdgAppIcons appIcons;
    // The windows and the shell need each other; views reach the shell only once they are shown.
    ShellWindowHost windows{state, shell, settings, &accessibilityRepair, nullptr, &appIcons, &keyStore};
    ShellController shell{ShellController::Services{
        state, clock, hotkeys, engine, dictation, mode.learner(learner), loginItem, windows, overlayHost,
        windowSystem, keys, updates, [this](const QuendaConfig& config) { keys.refresh(config); },
        [this] { silence.restoreFromDisk(); }, [this] { sounds.prepare(); }}};

    explicit Parts(RunMode& runMode)
        : mode(runMode)
    {
        FallbackKeySource& hotkeySource = hotkeyRoutes.source();
        followHotkeyRoute();
        QObject::connect(&hotkeySource, &FallbackKeySource::statusChanged, &state,
                         [this] { followHotkeyRoute(); });
        QObject::connect(&hotkeys, &HotkeyMonitor::typed, &textInserter, &TextInserter::userTyped);
        state.setSessionRoutes(session.routes());
        if (session.routes().panel == PanelRoute::Hidden)
            overlay.keepHidden();
        overlay.setReportingContentOnShow<OverlayView>([this] {
            auto* view = new OverlayView(state, shell, clock);
            view->setCardsStay(mode.cardsStay());
            return view;
        });
        dictation.setOverlay(&overlayHost);
        QObject::connect(&engine, &SpeechEngine::statusChanged, &shell, &ShellController::engineUpdated);
        QObject::connect(&keys, &ProviderKeySnapshot::refreshed, &shell,
                         &ShellController::providerKeysChanged);
        QObject::connect(&keyStore, &OpenAIKeyStore::keySaved, &keys,
                         [this] { keys.refresh(state.config()); });
        QObject::connect(&textInserter, &TextInserter::clipboardDisplaced, &state,
                         &AppState::rememberClipboard);
    }

    ~Parts() { dictation.setOverlay(nullptr); }

    void followHotkeyRoute()
    {
        const HotkeyRoute route = hotkeyRoutes.source().status().route;
        state.setHotkeyRoute(hotkeyRoutes.source().status());
        // XInput reports the keys XTest posts like the user's; no other route sees our chords.
        hotkeys.setOwnChords(route == HotkeyRoute::X11Desktop ? &ownChords : nullptr);
        // Only a route that sees every key typed can tell that our last paste still ends a field
        // whose text cannot be read.
        textInserter.rememberPastes(route == HotkeyRoute::X11Desktop || route == HotkeyRoute::Evdev);
    }
};

void CompositionRoot::switchOnAccessibility()
{
    AccessibilityBus::enable();
}

void CompositionRoot::preferX11()
{
    // Under Wayland our windows stay X11 clients of XWayland where it runs: a Wayland tool window
    // takes the focus, while the compositor honours the panel's hints for an X11 one.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && DesktopSession::isWayland())
        qputenv("QT_QPA_PLATFORM", "xcb;wayland");
}

CompositionRoot::CompositionRoot(RunMode& mode)
    : m_parts(std::make_unique<Parts>(mode))
{
}

CompositionRoot::~CompositionRoot() = default;

ShellController& CompositionRoot::shell()
{
    return m_parts->shell;
}

void CompositionRoot::hotkeyCommand(bool pressed, qint64 sentAtMs)
{
    if (CommandKeySource* commands = m_parts->hotkeyRoutes.commands()) {
        Timing::mark(pressed ? QStringLiteral("hotkey: binding pressed")
                             : QStringLiteral("hotkey: binding released"));
        commands->command(pressed, sentAtMs);
    } else
        Timing::mark(QStringLiteral("hotkey: a compositor binding is ignored; the hotkey comes another way"));
}

ShellWindowHost& CompositionRoot::windows()
{
    return m_parts->windows;
}
