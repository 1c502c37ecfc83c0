#include "shell_fakes.h"

#include "app/shell/shell_controller.h"
#include "controller_fixture.h"
#include "core/text/l10n.h"
#include "dictation/hotkey/hotkey_monitor.h"
#include "dictation/insert/text_inserter.h"
#include "platform/fake/fake_login_item.h"
#include "platform/fake/fake_update_feed.h"
#include "update/update_checker.h"

#include <QSignalSpy>
#include <QTcpServer>

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <vector>

namespace {

using LaunchWindow = ShellController::LaunchWindow;
using Window = FakeShellWindows::Window;
using EngineCall = FakeEngineControl::Call;

class ShellControllerTest : public ControllerFixture {
protected:
    void SetUp() override
    {
        ControllerFixture::SetUp();
        m_login.m_enabled = state().config().launchAtLogin;
        // Rows of a table run SetUp again on the same fixture.
        m_shellWindows.shown.clear();
        m_shellWindows.tray = true;
        m_engine.calls.clear();
        m_probe.m_microphone = m_probe.m_accessibility = false;
        m_probe.m_answered = true;
        m_restores = m_keyRefreshes = m_soundPreparations = 0;
        m_shell = std::make_unique<ShellController>(ShellController::Services{
            state(), m_clock, *m_hotkey, m_engine, controller(), m_learner, m_login, m_shellWindows,
            m_overlay, m_windows, m_keys, m_updates, [this](const QuendaConfig&) { ++m_keyRefreshes; },
            [this] { ++m_restores; }, [this] { ++m_soundPreparations; }});
    }
    void TearDown() override
    {
        m_shell.reset();
        ControllerFixture::TearDown();
    }
    ShellController& shell() { return *m_shell; }

    FakeEngineControl m_engine;
    FakeLoginItem m_login;
    FakeShellWindows m_shellWindows;
    FakeProviderKeys m_keys;
    FakeUpdateFeed m_feed;
    UpdateChecker m_updates{&m_feed, m_settings, QStringLiteral("1.4.0")};
    int m_keyRefreshes = 0;
    int m_restores = 0;
    int m_soundPreparations = 0;

private:
    std::unique_ptr<ShellController> m_shell;
};

} // namespace

TEST(ShellLaunchWindow, GreetsWithOnboardingThenWithTheHomePageWhileAPermissionIsMissing)
{
    struct Row {
        bool onboarded;
        bool mic;
        bool ax;
        LaunchWindow window;
    };
    // clang-format off
    const Row rows[] = {
        {.onboarded = false, .mic = true,  .ax = true,  .window = LaunchWindow::Onboarding},
        {.onboarded = false, .mic = false, .ax = false, .window = LaunchWindow::Onboarding},
        {.onboarded = true,  .mic = false, .ax = true,  .window = LaunchWindow::Home},
        {.onboarded = true,  .mic = true,  .ax = false, .window = LaunchWindow::Home},
        {.onboarded = true,  .mic = true,  .ax = true,  .window = LaunchWindow::None},
    };
    // clang-format on
    for (const Row& row : rows)
        EXPECT_EQ(ShellController::launchWindow(row.onboarded, row.mic, row.ax), row.window)
            << row.onboarded << row.mic << row.ax;
}

TEST_F(ShellControllerTest, LaunchOpensWhatTheStateAsksForAndTheMainWindowWhereNoTrayExists)
{
    struct Row {
        const char* name;
        bool onboarded;
        bool granted;
        bool tray;
        std::vector<Window> shown;
    };
    // clang-format off
    const Row rows[] = {
        {.name = "first run",          .onboarded = false, .granted = true,  .tray = true,  .shown = {Window::Onboarding}},
        {.name = "permission missing", .onboarded = true,  .granted = false, .tray = true,  .shown = {Window::Main}},
        {.name = "all set",            .onboarded = true,  .granted = true,  .tray = true,  .shown = {}},
        {.name = "all set, no tray",   .onboarded = true,  .granted = true,  .tray = false, .shown = {Window::Main}},
    };
    // clang-format on
    for (const Row& row : rows) {
        TearDown();
        SetUp();
        configure([&](QuendaConfig& c) { c.onboarded = row.onboarded; });
        state().setSection(MainSection::Settings);
        m_probe.m_microphone = m_probe.m_accessibility = row.granted;
        m_shellWindows.tray = row.tray;
        shell().launch(false);
        EXPECT_EQ(m_shellWindows.shown, row.shown) << row.name;
        if (row.onboarded && !row.granted) {
            EXPECT_EQ(state().section(), MainSection::Home) << row.name;
        }
    }
}

TEST_F(ShellControllerTest, TheLaunchGreetingWaitsForThePermissionProbesFirstAnswers)
{
    struct Row {
        const char* name;
        bool granted;
        // When the probe has its first answers; never within the wait when negative.
        qint64 answeredAtMs;
        std::vector<Window> shownBeforeTheAnswer;
        std::vector<Window> shownAfterIt;
    };
    const int poll = ShellController::kPermissionPollMs;
    // clang-format off
    const Row rows[] = {
        {.name = "granted",              .granted = true,  .answeredAtMs = poll,  .shownBeforeTheAnswer = {}, .shownAfterIt = {}},
        {.name = "missing",              .granted = false, .answeredAtMs = 2 * poll, .shownBeforeTheAnswer = {}, .shownAfterIt = {Window::Main}},
        {.name = "no answer, wait ends", .granted = false, .answeredAtMs = -1, .shownBeforeTheAnswer = {}, .shownAfterIt = {Window::Main}},
    };
    // clang-format on
    for (const Row& row : rows) {
        TearDown();
        SetUp();
        configure([](QuendaConfig& c) { c.onboarded = true; });
        m_probe.m_answered = false;
        shell().launch(false);
        m_probe.m_microphone = m_probe.m_accessibility = row.granted;
        const qint64 answerAt =
            row.answeredAtMs >= 0 ? row.answeredAtMs : ShellController::kPermissionAnswerWaitMs;
        m_clock.advance(answerAt - 1);
        EXPECT_EQ(m_shellWindows.shown, row.shownBeforeTheAnswer) << row.name;
        m_probe.m_answered = row.answeredAtMs >= 0;
        m_clock.advance(2 * poll);
        EXPECT_EQ(m_shellWindows.shown, row.shownAfterIt) << row.name;
        m_clock.advance(10 * poll);
        EXPECT_EQ(m_shellWindows.shown, row.shownAfterIt) << row.name << ": greeted twice";
    }
}

// A second start shows the main window even over the window in front: the window manager is
// asked for it as a pager asks, which focus-stealing prevention lets through.
TEST_F(ShellControllerTest, ShowingTheMainWindowAsksTheWindowSystemToActivateIt)
{
    struct Row {
        const char* name;
        std::optional<quint64> handle; // none: the window did not come up
        int activations;
    };
    // clang-format off
    const Row rows[] = {{.name = "shown",     .handle = 42,           .activations = 1},
                        {.name = "not shown", .handle = std::nullopt, .activations = 0}};
    // clang-format on
    for (const Row& row : rows) {
        m_shellWindows.mainHandle = row.handle;
        const qsizetype before = m_windows.activations().size();
        shell().showMain(std::nullopt);
        const QList<AppWindow> activated = m_windows.activations().mid(before);
        ASSERT_EQ(activated.size(), row.activations) << row.name;
        if (row.activations) {
            EXPECT_EQ(activated.front().window, *row.handle) << row.name;
        }
    }
}

// Started and stopped from the status item's menu, which holds the keyboard while open: the menu
// closes, the window in front before it gets the keyboard back, and the text lands there.
TEST_F(ShellControllerTest, StartAndStopFromTheMenuGiveTheKeyboardBackAndTheTextLands)
{
    shell().launch(false);
    AppWindow editor;
    editor.window = 9, editor.pid = 4242;
    m_windows.setActive(editor);
    const auto fromTheMenu = [this] {
        emit m_shellWindows.menuOpening();
        m_shellWindows.menu = true;
        shell().toggleRecording();
        EXPECT_FALSE(m_shellWindows.menu);
    };

    fromTheMenu();
    m_clock.advance(TextInserter::activationDelayMs - 1);
    EXPECT_EQ(phase(), Phase::idle()) << "the recording remembered the field before the focus came back";
    m_clock.advance(1);
    EXPECT_EQ(phase(), Phase::listening());
    m_clock.advance(2000);
    fromTheMenu();
    EXPECT_EQ(phase(), Phase::transcribing());
    m_speech.answer(Request::Kind::Transcribe, s("Hello."));

    EXPECT_EQ(m_windows.activations(), (QList<AppWindow>{editor, editor}));
    EXPECT_EQ(m_inserter.writes(), QList<InserterCall>{Write::insert("Hello.")});
}

// Held or tapped twice while the menu is open, the hotkey dictates as the menu's button does: the
// menu, whose keyboard grab would take the paste, closes first and the field gets the keyboard back.
TEST_F(ShellControllerTest, TheHotkeyWithTheMenuOpenClosesItAndTheTextLandsInTheField)
{
    shell().launch(false);
    AppWindow editor;
    editor.window = 9, editor.pid = 4242;
    m_windows.setActive(editor);
    struct Row {
        const char* name;
        void (HotkeyMonitor::*start)();
        void (HotkeyMonitor::*stop)();
    };
    const Row rows[] = {{"hold", &HotkeyMonitor::holdStarted, &HotkeyMonitor::holdEnded},
                        {"double tap", &HotkeyMonitor::toggled, &HotkeyMonitor::toggled}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const qsizetype activated = m_windows.activations().size();
        const qsizetype written = m_inserter.writes().size();
        emit m_shellWindows.menuOpening();
        m_shellWindows.menu = true;
        // The menu goes with the key's press, before the dictation remembers where it writes.
        emit m_hotkey->pressed();
        EXPECT_FALSE(m_shellWindows.menu);
        EXPECT_EQ(m_windows.activations().mid(activated), QList<AppWindow>{editor});
        emit((*m_hotkey).*row.start)();
        EXPECT_EQ(phase(), Phase::listening());
        m_clock.advance(1500);
        emit((*m_hotkey).*row.stop)();
        m_speech.answer(Request::Kind::Transcribe, s("Hello."));
        EXPECT_EQ(m_windows.activations().mid(activated), QList<AppWindow>{editor});
        EXPECT_EQ(m_inserter.writes().mid(written), QList<InserterCall>{Write::insert("Hello.")});
        m_clock.advance(10'000);
    }
}

TEST_F(ShellControllerTest, OnboardingEndedWithoutATrayOpensTheMainWindowUnlessTheProgramQuits)
{
    struct Row {
        const char* name;
        bool tray;
        bool quitting; // the window closes because the program quits
        std::vector<Window> shown;
    };
    // clang-format off
    const Row rows[] = {
        {.name = "tray",              .tray = true,  .quitting = false, .shown = {Window::Onboarding}},
        {.name = "no tray",           .tray = false, .quitting = false, .shown = {Window::Onboarding, Window::Main}},
        {.name = "no tray, quitting", .tray = false, .quitting = true,  .shown = {Window::Onboarding}},
    };
    // clang-format on
    for (const Row& row : rows) {
        TearDown();
        SetUp();
        configure([](QuendaConfig& c) { c.onboarded = false; });
        m_shellWindows.tray = row.tray;
        shell().launch(false);
        if (row.quitting) {
            shell().stop();
            m_shellWindows.closeOnboarding();
        } else {
            shell().finishOnboarding();
        }
        EXPECT_EQ(m_shellWindows.shown, row.shown) << row.name;
    }
}

TEST_F(ShellControllerTest, LaunchRepairsMutingStartsKeysEngineAndReadsKeysExceptInSnapshots)
{
    shell().launch(false);
    EXPECT_EQ(m_restores, 1);
    EXPECT_EQ(m_keyRefreshes, 1);
    EXPECT_TRUE(m_hotkeyKeys.isStarted());
    EXPECT_EQ(m_engine.calls, std::vector{EngineCall::Start});
    EXPECT_GE(m_shellWindows.iconRedraws, 1);

    TearDown();
    SetUp();
    shell().launch(true);
    EXPECT_EQ(m_restores, 0);
    EXPECT_EQ(m_keyRefreshes, 0);
}

// The tray's tooltip names the engine's state, a hands-free recording and the key, so each of
// them redraws the status item when it changes.
TEST_F(ShellControllerTest, TheStatusItemFollowsHandsFreeTheEngineAndTheHotkey)
{
    shell().launch(false);
    struct Row {
        const char* name;
        std::function<void(AppState&)> change;
    };
    const Row rows[] = {
        {.name = "hands-free", .change = [](AppState& s) { s.setHandsFree(!s.handsFree()); }},
        {.name = "engine ready", .change = [](AppState& s) { s.setEngineReady(!s.engineReady()); }},
        {.name = "engine loading", .change = [](AppState& s) { s.setEngineLoading(!s.engineLoading()); }},
        {.name = "hotkey",
         .change =
             [](AppState& s) {
                 QuendaConfig config = s.config();
                 config.hotkey = Hotkey::RightOption;
                 s.setConfig(config);
             }},
    };
    for (const Row& row : rows) {
        const int before = m_shellWindows.iconRedraws;
        row.change(state());
        EXPECT_GT(m_shellWindows.iconRedraws, before) << row.name;
    }
}

// Cues that are off keep the sound server and its threads out of an idle program.
TEST_F(ShellControllerTest, TheCuesAreReadAtLaunchOrWhenSwitchedOnAndNeverWhileOff)
{
    struct Row {
        const char* name;
        bool onAtLaunch;
        std::optional<bool> switchedTo;
        int preparedAtLaunch;
        int preparedAfter;
    };
    // clang-format off
    const Row rows[] = {
        {.name = "on",           .onAtLaunch = true,  .switchedTo = {},    .preparedAtLaunch = 1, .preparedAfter = 1},
        {.name = "off",          .onAtLaunch = false, .switchedTo = {},    .preparedAtLaunch = 0, .preparedAfter = 0},
        {.name = "switched on",  .onAtLaunch = false, .switchedTo = true,  .preparedAtLaunch = 0, .preparedAfter = 1},
        {.name = "switched off", .onAtLaunch = true,  .switchedTo = false, .preparedAtLaunch = 1, .preparedAfter = 1},
    };
    // clang-format on
    for (const Row& row : rows) {
        TearDown();
        SetUp();
        configure([&](QuendaConfig& c) { c.playSounds = row.onAtLaunch; });
        shell().launch(false);
        EXPECT_EQ(m_soundPreparations, row.preparedAtLaunch) << row.name;
        if (row.switchedTo)
            configure([&](QuendaConfig& c) { c.playSounds = *row.switchedTo; });
        configure([](QuendaConfig& c) { c.autoCorrect = !c.autoCorrect; });
        EXPECT_EQ(m_soundPreparations, row.preparedAfter) << row.name;
    }
}

TEST_F(ShellControllerTest, ClosingOnboardingMarksItDoneWithoutTheSettingsNotice)
{
    configure([](QuendaConfig& c) { c.onboarded = false; });
    shell().launch(false);
    m_clock.advance(AppState::toastHideMs + 1);
    m_shellWindows.closeOnboarding();
    EXPECT_TRUE(state().config().onboarded);
    EXPECT_FALSE(state().settingToastVisible());
    EXPECT_EQ(state().settingToastSuppressed(), 0);
}

TEST_F(ShellControllerTest, FinishingOnboardingClosesItsWindowQuietly)
{
    configure([](QuendaConfig& c) { c.onboarded = false; });
    shell().launch(false);
    m_clock.advance(AppState::toastHideMs + 1);
    shell().finishOnboarding();
    EXPECT_TRUE(state().config().onboarded);
    EXPECT_FALSE(m_shellWindows.onboardingOpen);
    EXPECT_FALSE(state().settingToastVisible());
}

// Nobody is registered to start at login before onboarding has shown them the switch.
TEST_F(ShellControllerTest, TheLoginItemFollowsTheSwitchOnlyOnceOnboardingShowedIt)
{
    enum class End { None, Done, Closed };
    struct Row {
        const char* name;
        bool onboarded;
        bool launchAtLogin;
        End end;
        bool registered;
    };
    const Row rows[] = {
        {"first run, onboarding open", false, true, End::None, false},
        {"onboarding done", false, true, End::Done, true},
        {"onboarding window closed", false, true, End::Closed, true},
        {"switched off in onboarding", false, false, End::Done, false},
        {"onboarded before", true, true, End::None, true},
    };
    for (const Row& row : rows) {
        TearDown();
        SetUp();
        m_login.m_enabled = false;
        configure([&](QuendaConfig& c) {
            c.onboarded = row.onboarded;
            c.launchAtLogin = row.launchAtLogin;
        });
        shell().launch(false);
        if (row.end == End::Done)
            shell().finishOnboarding();
        else if (row.end == End::Closed)
            m_shellWindows.closeOnboarding();
        EXPECT_EQ(m_login.m_enabled, row.registered) << row.name;
    }
}

// The settings page asks whether the engine could listen on a port before it stores it.
TEST_F(ShellControllerTest, APortAnotherProgramListensOnIsNotFree)
{
    QTcpServer other;
    ASSERT_TRUE(other.listen(QHostAddress::LocalHost, 0));
    const quint16 port = other.serverPort();
    shell().launch(false);
    EXPECT_FALSE(shell().portFree(port));
    other.close();
    EXPECT_TRUE(shell().portFree(port));
}

TEST_F(ShellControllerTest, EachConfigurationFieldCausesOnlyItsOwnReaction)
{
    struct Row {
        const char* name;
        std::function<void(QuendaConfig&)> change;
        int engineRestarts;
        int loginChanges;
        int learnerStops;
        QList<SilencerCall> silencer;
        Hotkey hotkey;
    };
    constexpr Hotkey right = Hotkey::RightControl;
    // clang-format off
    const Row rows[] = {
        {.name = "hotkey",                  .change = [](QuendaConfig& c) { c.hotkey = Hotkey::LeftControl; },            .engineRestarts = 0, .loginChanges = 0, .learnerStops = 0, .silencer = {},         .hotkey = Hotkey::LeftControl},
        {.name = "fn hotkey, watched as right Control by the monitor", .change = [](QuendaConfig& c) { c.hotkey = Hotkey::Function; }, .engineRestarts = 0, .loginChanges = 0, .learnerStops = 0, .silencer = {}, .hotkey = Hotkey::Function},
        {.name = "login",                   .change = [](QuendaConfig& c) { c.launchAtLogin = !c.launchAtLogin; },       .engineRestarts = 0, .loginChanges = 1, .learnerStops = 0, .silencer = {},         .hotkey = right},
        {.name = "model path",              .change = [](QuendaConfig& c) { c.modelPath = QStringLiteral("/m"); },        .engineRestarts = 1, .loginChanges = 0, .learnerStops = 0, .silencer = {},         .hotkey = right},
        {.name = "whisper model",           .change = [](QuendaConfig& c) { c.whisperModel = QStringLiteral("tiny"); },   .engineRestarts = 1, .loginChanges = 0, .learnerStops = 0, .silencer = {},         .hotkey = right},
        {.name = "engine",                  .change = [](QuendaConfig& c) { c.asrEngine = AsrEngine::Whistle; },          .engineRestarts = 1, .loginChanges = 0, .learnerStops = 0, .silencer = {},         .hotkey = right},
        {.name = "quality",                 .change = [](QuendaConfig& c) { c.asrQuality = 1; },                          .engineRestarts = 1, .loginChanges = 0, .learnerStops = 0, .silencer = {},         .hotkey = right},
        {.name = "port",                    .change = [](QuendaConfig& c) { c.port = 17400; },                            .engineRestarts = 1, .loginChanges = 0, .learnerStops = 0, .silencer = {},         .hotkey = right},
        {.name = "others audio while idle", .change = [](QuendaConfig& c) { c.othersAudio = OthersAudio::Quiet; },        .engineRestarts = 0, .loginChanges = 0, .learnerStops = 0, .silencer = {released}, .hotkey = right},
        {.name = "learning off",            .change = [](QuendaConfig& c) { c.learnEdits = false; },                      .engineRestarts = 0, .loginChanges = 0, .learnerStops = 1, .silencer = {},         .hotkey = right},
        {.name = "unrelated",               .change = [](QuendaConfig& c) { c.autoCorrect = !c.autoCorrect; },            .engineRestarts = 0, .loginChanges = 0, .learnerStops = 0, .silencer = {},         .hotkey = right},
    };
    // clang-format on
    for (const Row& row : rows) {
        TearDown();
        SetUp();
        configure([](QuendaConfig& c) { c.hotkey = Hotkey::RightControl; });
        shell().launch(false);
        const int starts = m_hotkeyKeys.starts();
        m_engine.calls.clear();
        m_silencer.log.clear();
        const int changes = m_login.m_changes;
        const int stops = m_learner.stops;
        configure(row.change);
        EXPECT_EQ(std::ranges::count(m_engine.calls, EngineCall::Restart), row.engineRestarts) << row.name;
        EXPECT_EQ(m_login.m_changes - changes, row.loginChanges) << row.name;
        EXPECT_EQ(m_learner.stops - stops, row.learnerStops) << row.name;
        EXPECT_EQ(m_silencer.log, row.silencer) << row.name;
        EXPECT_EQ(m_hotkey->hotkey(), row.hotkey) << row.name;
        EXPECT_EQ(m_hotkeyKeys.starts(), starts) << row.name << ": the monitor must not restart";
    }
}

TEST_F(ShellControllerTest, ChangingOthersAudioWhileListeningSwitchesTheMutingAtOnce)
{
    shell().launch(false);
    hold();
    m_clock.advance(DictationController::kSilenceAfterSoundMs + 1);
    ASSERT_EQ(m_silencer.log, QList<SilencerCall>{OthersAudio::Mute});
    m_silencer.log.clear();

    configure([](QuendaConfig& c) { c.othersAudio = OthersAudio::Quiet; });
    m_clock.advance(DictationController::kSilenceAfterSoundMs + 1);
    EXPECT_EQ(m_silencer.log, (QList<SilencerCall>{released, OthersAudio::Quiet}));
}

// A notice over a hands-free recording would take its phase, and the second toggle would start
// another recording instead of ending it.
TEST_F(ShellControllerTest, AFailedLoginChangeShowsTheNoticeOnceIdleLeavesTheFlagAndClearsAfterThreeSeconds)
{
    struct Row {
        const char* name;
        bool handsFree;      // the change fails during a hands-free recording
        bool undone = false; // and is switched back before the recording ends
    };
    // clang-format off
    const Row rows[] = {
        {.name = "idle",                               .handsFree = false},
        {.name = "hands-free recording",               .handsFree = true},
        {.name = "switched back during the recording", .handsFree = true, .undone = true},
    };
    // clang-format on
    for (const Row& row : rows) {
        TearDown();
        SetUp();
        shell().launch(false);
        const int starts = m_recorder.starts;
        if (row.handsFree)
            emit m_hotkey->toggled();
        m_login.m_refusal = QStringLiteral("read-only folder");
        const bool wanted = !state().config().launchAtLogin;
        configure([&](QuendaConfig& c) { c.launchAtLogin = wanted; });
        EXPECT_EQ(state().config().launchAtLogin, wanted) << row.name;
        if (row.undone)
            configure([&](QuendaConfig& c) { c.launchAtLogin = !wanted; });
        if (row.handsFree) {
            EXPECT_EQ(state().phase(), Phase::listening()) << row.name;
            emit m_hotkey->toggled();
            EXPECT_EQ(state().phase(), Phase::transcribing()) << row.name;
            EXPECT_EQ(m_recorder.starts, starts + 1) << row.name;
            m_speech.answer(Request::Kind::Transcribe, QStringLiteral("hello"));
            m_clock.advance(850);
        }
        if (row.undone) {
            EXPECT_EQ(state().phase(), Phase::idle()) << row.name;
            continue;
        }

        EXPECT_EQ(state().phase(), Phase::failed(L10n::format(QStringLiteral("notice.login"),
                                                              {QStringLiteral("read-only folder")})))
            << row.name;
        m_clock.advance(ShellController::kLoginNoticeMs - 1);
        EXPECT_TRUE(state().phase().is(Phase::Kind::Failed)) << row.name;
        m_clock.advance(2);
        EXPECT_TRUE(state().phase().is(Phase::Kind::Idle)) << row.name;
    }
}

TEST_F(ShellControllerTest, GrantedAccessibilityReshapesTheOverlayOnceAndAHoldUnderWayEndsOnItsRelease)
{
    QStringList holds;
    QObject::connect(&*m_hotkey, &HotkeyMonitor::holdStarted, &*m_hotkey,
                     [&] { holds.append(QStringLiteral("started")); });
    QObject::connect(&*m_hotkey, &HotkeyMonitor::holdEnded, &*m_hotkey,
                     [&] { holds.append(QStringLiteral("ended ") + QString::number(m_clock.elapsedMs())); });
    shell().launch(false);
    const int reshapes = m_overlay.reshapes;
    m_clock.advance(ShellController::kPermissionPollMs);
    EXPECT_EQ(m_overlay.reshapes, reshapes);

    m_hotkeyKeys.press(PhysicalKey::RightControl);
    m_probe.m_accessibility = true;
    m_clock.advance(ShellController::kPermissionPollMs);
    EXPECT_TRUE(state().axGranted());
    EXPECT_EQ(m_overlay.reshapes, reshapes + 1);
    m_clock.advance(100);
    m_hotkeyKeys.release(PhysicalKey::RightControl);
    const qint64 releasedAt = m_clock.elapsedMs();
    EXPECT_EQ(holds, (QStringList{QStringLiteral("started"),
                                  QStringLiteral("ended ") + QString::number(releasedAt)}));

    m_clock.advance(5 * ShellController::kPermissionPollMs);
    EXPECT_EQ(m_overlay.reshapes, reshapes + 1);
}

// The key's release is never seen once the program stops listening: the recording would run on.
TEST_F(ShellControllerTest, QuittingDuringAHoldEndsItsRecording)
{
    shell().launch(false);
    m_hotkeyKeys.press(PhysicalKey::RightControl);
    m_clock.advance(500);
    ASSERT_TRUE(phase().is(Phase::Kind::Listening));
    shell().stop();
    EXPECT_FALSE(phase().is(Phase::Kind::Listening));
}

TEST_F(ShellControllerTest, TheEngineBecomingReadyIsMirroredAndLooksUpTheModelOnce)
{
    configure([](QuendaConfig& c) { c.polishProvider = PolishProvider::OpenAI; });
    shell().launch(false);
    m_keys.general = QStringLiteral("sk-general");
    m_engine.m_ready = true;
    m_engine.m_status = QStringLiteral("Ready");
    m_engine.m_loading = false;
    shell().engineUpdated();
    shell().engineUpdated();

    EXPECT_TRUE(state().engineReady());
    EXPECT_EQ(state().engineStatus(), QStringLiteral("Ready"));
    EXPECT_FALSE(state().engineLoading());
    ASSERT_EQ(m_engine.lookups.size(), 1);
    EXPECT_EQ(m_engine.lookups[0].key, QStringLiteral("sk-general"));
}

TEST_F(ShellControllerTest, StopReleasesMutingStopsKeysAndTimersThenTheEngine)
{
    m_engine.m_ready = true;
    shell().launch(false);
    m_clock.advance(ShellController::kWarmupMs);
    EXPECT_EQ(std::ranges::count(m_engine.calls, EngineCall::Prewarm), 1);
    m_silencer.log.clear();
    m_engine.calls.clear();

    shell().stop();
    EXPECT_EQ(m_silencer.log, QList{released});
    EXPECT_FALSE(m_hotkeyKeys.isStarted());
    EXPECT_EQ(m_engine.calls, std::vector{EngineCall::Shutdown});
    m_probe.m_accessibility = true;
    m_clock.advance(2 * ShellController::kWarmupMs);
    EXPECT_FALSE(state().axGranted());
    EXPECT_EQ(m_engine.calls, std::vector{EngineCall::Shutdown});
}

TEST_F(ShellControllerTest, KeysReadAfterTheEngineWasReadyStillLookUpTheModel)
{
    configure([](QuendaConfig& c) { c.polishProvider = PolishProvider::OpenAI; });
    shell().launch(false);
    m_engine.m_ready = true;
    shell().engineUpdated();
    EXPECT_TRUE(m_engine.lookups.isEmpty()) << "a hosted provider is not asked without a key";

    m_keys.general = QStringLiteral("sk-late");
    shell().providerKeysChanged();
    ASSERT_EQ(m_engine.lookups.size(), 1);
    EXPECT_EQ(m_engine.lookups[0].key, QStringLiteral("sk-late"));
    shell().providerKeysChanged();
    EXPECT_EQ(m_engine.lookups.size(), 1)
        << "the same key and base are not asked twice while the answer is due";
}

TEST_F(ShellControllerTest, TheFrontApplicationFollowsOtherProgramsButNeverThisOne)
{
    shell().launch(false);
    struct Row {
        const char* name;
        AppWindow window;
        std::optional<FrontApp> front;
    };
    const FrontApp editor{QStringLiteral("org.gnome.TextEditor"), QStringLiteral("Text Editor")};
    const int ownPid = int(QCoreApplication::applicationPid());
    // clang-format off
    const Row rows[] = {
        {.name = "another program",         .window = {.window = 1, .app = editor,                                                  .pid = 4242,   .windowClass = {}, .terminal = false}, .front = editor},
        {.name = "this program by pid",     .window = {.window = 2, .app = {QStringLiteral("x.y"), QStringLiteral("Y")},            .pid = ownPid, .windowClass = {}, .terminal = false}, .front = editor},
        {.name = "this program by id",      .window = {.window = 3, .app = {QStringLiteral("de.morvane.quenda"), QStringLiteral("Quenda")}, .pid = 7, .windowClass = {}, .terminal = false}, .front = editor},
        {.name = "no desktop file",         .window = {.window = 4, .app = {QString(), QStringLiteral("xterm")},                    .pid = 8,      .windowClass = {}, .terminal = false}, .front = editor},
        {.name = "blank name takes the id", .window = {.window = 5, .app = {QStringLiteral("org.kde.kate"), QStringLiteral("  ")},  .pid = 9,      .windowClass = {}, .terminal = false}, .front = FrontApp{QStringLiteral("org.kde.kate"), QStringLiteral("org.kde.kate")}},
    };
    // clang-format on
    for (const Row& row : rows) {
        m_windows.setActive(row.window);
        EXPECT_EQ(state().frontApp(), row.front) << row.name;
    }
}

TEST_F(ShellControllerTest, OnlyAnEndpointChangeReadsTheKeysAgain)
{
    struct Row {
        const char* name;
        std::function<void(QuendaConfig&)> change;
        int refreshes;
    };
    // clang-format off
    const Row rows[] = {
        {.name = "instructions keystroke", .change = [](QuendaConfig& c) { c.instructions += QLatin1Char('x'); }, .refreshes = 0},
        {.name = "style",                  .change = [](QuendaConfig& c) { c.style = QStringLiteral("code"); },   .refreshes = 0},
        {.name = "endpoint model",         .change = [](QuendaConfig& c) { c.correctionEndpoints[0].model = QStringLiteral("m2"); }, .refreshes = 1},
        {.name = "endpoint added",         .change = [](QuendaConfig& c) { c.correctionEndpoints.append(c.correctionEndpoints[0]); }, .refreshes = 1},
    };
    // clang-format on
    for (const Row& row : rows) {
        TearDown();
        SetUp();
        shell().launch(false);
        m_keyRefreshes = 0;
        QuendaConfig next = state().config();
        ASSERT_FALSE(next.correctionEndpoints.isEmpty());
        row.change(next);
        state().setConfig(next);
        EXPECT_EQ(m_keyRefreshes, row.refreshes) << row.name;
    }
}

// A view asking for a settings section gets the main window on the settings page, which opens there.
TEST_F(ShellControllerTest, OpeningASettingsSectionShowsTheSettingsPageAtIt)
{
    state().setSection(MainSection::Home);
    shell().openSettings(SettingsPlace::Correction);
    EXPECT_EQ(m_shellWindows.shown, std::vector<Window>{Window::Main});
    EXPECT_EQ(state().section(), MainSection::Settings);
    EXPECT_EQ(state().settingsToOpen(), SettingsPlace::Correction);
}

// A recording refused the microphone leads to the settings where it is allowed.
TEST_F(ShellControllerTest, ADeniedMicrophoneOpensTheSettings)
{
    shell().launch(false);
    m_shellWindows.shown.clear();
    m_microphone.state = MicrophoneAccess::Status::Denied;
    hold();
    EXPECT_EQ(m_shellWindows.shown, std::vector<Window>{Window::Main});
    EXPECT_EQ(state().section(), MainSection::Settings);
}

// The checker learns of the dictation only through the state's phase, and the views hear of the
// checker only through the state, which the shell keeps up to date.
TEST_F(ShellControllerTest, TheUpdateCheckWaitsForAnIdlePhaseToInstallAndTheStateFollowsIt)
{
    const auto release = [](const char* version) {
        return AppRelease{
            QString::fromLatin1(version),
            QUrl(QStringLiteral("https://example.org/quenda-%1.deb").arg(QLatin1String(version)))};
    };
    shell().launch(false);
    QSignalSpy updates(&state(), &AppState::updateChanged);
    QSignalSpy dismissed(&state(), &AppState::dismissedUpdateChanged);
    state().setPhase(Phase::listening());
    m_clock.advance(ShellController::kUpdateCheckDelayMs);
    m_feed.answer(release("1.5.0"));
    state().setPhase(Phase::transcribing());
    EXPECT_EQ(state().update(), UpdateStatus::available(release("1.5.0")));
    state().setPhase(Phase::idle());
    EXPECT_EQ(state().update(), UpdateStatus::failed());
    EXPECT_EQ(updates.count(), 3); // checking, available, failed

    // Opening the menu looks again and installs nothing.
    emit m_shellWindows.menuOpening();
    m_feed.answer(release("1.6.0"));
    EXPECT_EQ(state().update(), UpdateStatus::available(release("1.6.0")));
    EXPECT_EQ(state().availableRelease(), release("1.6.0"));
    m_updates.dismiss();
    EXPECT_TRUE(state().dismissedUpdate());
    EXPECT_EQ(dismissed.count(), 1);
}
