#include "temp_support_dir.h"

#include "core/base/timing.h"
#include "dictation/hotkey/hotkey_monitor.h"
#include "dictation/hotkey/own_chords.h"
#include "platform/fake/fake_key_source.h"
#include "platform/fake/fake_key_synthesizer.h"
#include "platform/fake/manual_clock.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Key = PhysicalKey;

// One scripted moment: a key goes down or up, a mouse button or the wheel moves, the monitor is
// stopped or started, the configured hotkey changes, or the program posts a paste chord (that fails
// when `key` is Escape).
struct Step {
    enum class Act { Down, Up, Click, Stop, Start, SetHotkey, Chord };
    qint64 atMs = 0;
    Act act = Act::Down;
    Key key = Key::RightControl;
    Hotkey hotkey = Hotkey::RightControl;
};

Step down(qint64 ms, Key key = Key::RightControl)
{
    return {.atMs = ms, .act = Step::Act::Down, .key = key};
}

Step up(qint64 ms, Key key = Key::RightControl)
{
    return {.atMs = ms, .act = Step::Act::Up, .key = key};
}

Step click(qint64 ms)
{
    return {.atMs = ms, .act = Step::Act::Click};
}

Step stopAt(qint64 ms)
{
    return {.atMs = ms, .act = Step::Act::Stop};
}

Step startAt(qint64 ms)
{
    return {.atMs = ms, .act = Step::Act::Start};
}

Step paste(qint64 ms)
{
    return {.atMs = ms, .act = Step::Act::Chord};
}

Step failedPaste(qint64 ms)
{
    return {.atMs = ms, .act = Step::Act::Chord, .key = Key::Escape};
}

Step switchTo(qint64 ms, Hotkey hotkey)
{
    return {.atMs = ms, .act = Step::Act::SetHotkey, .hotkey = hotkey};
}

struct Case {
    const char* name;
    Hotkey hotkey = Hotkey::RightControl;
    std::vector<Step> steps;
    // Each report with the clock's milliseconds when it came.
    std::vector<std::string> reports;
};

void PrintTo(const Case& c, std::ostream* os)
{
    *os << c.name;
}

class HotkeyMonitorTest : public TempSupportDir {
protected:
    void SetUp() override
    {
        TempSupportDir::SetUp();
        const auto record = [this](const char* name) {
            return [this, name] { m_reports.push_back(name + (' ' + std::to_string(m_clock.elapsedMs()))); };
        };
        QObject::connect(&m_monitor, &HotkeyMonitor::pressed, &m_monitor, record("pressed"));
        QObject::connect(&m_monitor, &HotkeyMonitor::holdStarted, &m_monitor, record("holdStarted"));
        QObject::connect(&m_monitor, &HotkeyMonitor::holdEnded, &m_monitor, record("holdEnded"));
        QObject::connect(&m_monitor, &HotkeyMonitor::toggled, &m_monitor, record("toggled"));
        QObject::connect(&m_monitor, &HotkeyMonitor::escapePressed, &m_monitor, record("escape"));
        QObject::connect(&m_monitor, &HotkeyMonitor::shortcutTyped, &m_monitor, record("shortcut"));
        QObject::connect(&m_monitor, &HotkeyMonitor::typed, &m_monitor, record("typed"));
        m_monitor.setOwnChords(&m_own);
    }

    void play(const std::vector<Step>& steps)
    {
        for (const Step& step : steps) {
            m_clock.advance(step.atMs - m_clock.elapsedMs());
            switch (step.act) {
            case Step::Act::Down:
                m_keys.press(step.key);
                break;
            case Step::Act::Up:
                m_keys.release(step.key);
                break;
            case Step::Act::Click:
                m_keys.click();
                break;
            case Step::Act::Stop:
                m_monitor.stop();
                break;
            case Step::Act::Start:
                m_monitor.start();
                break;
            case Step::Act::SetHotkey:
                m_monitor.setHotkey(step.hotkey);
                break;
            case Step::Act::Chord:
                m_chords.setFailure(step.key == Key::Escape
                                        ? std::optional(KeySynthesizer::Failure::Reason::ModifiersHeld)
                                        : std::nullopt);
                m_own.post(KeySynthesizer::Chord::Paste, KeySynthesizer::Target::Application, &m_monitor,
                           [](const KeySynthesizer::Outcome&) {});
                break;
            }
        }
        // Long enough for any pending hold check to have fired.
        m_clock.advance(2000);
    }

    ManualClock m_clock;
    FakeKeySynthesizer m_chords{m_clock};
    OwnChords m_own{m_chords, m_clock};
    FakeKeySource m_keys;
    HotkeyMonitor m_monitor{m_keys, m_clock};
    std::vector<std::string> m_reports;
};

class HotkeyScript : public HotkeyMonitorTest, public ::testing::WithParamInterface<Case> {};

TEST_P(HotkeyScript, ReportsHoldsDoubleTapsAndEscapeAsTheKeysCame)
{
    const Case& c = GetParam();
    m_monitor.setHotkey(c.hotkey);
    m_monitor.start();
    play(c.steps);
    EXPECT_EQ(m_reports, c.reports);
}

std::vector<Step> repeatsEvery30Ms(Key key, qint64 fromMs, qint64 toMs)
{
    std::vector<Step> steps;
    for (qint64 ms = fromMs; ms <= toMs; ms += 30)
        steps.push_back(down(ms, key));
    return steps;
}

std::vector<Step> concat(std::vector<Step> a, const std::vector<Step>& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

const Case kCases[] = {
    {.name = "QuickTapOnlyReportsThePress", .steps = {down(0), up(179)}, .reports = {"pressed 0"}},
    // A window measured between the presses would miss this pair: they lie 450 ms apart.
    {.name = "WindowRunsFromReleaseToRelease449",
     .steps = {down(0), up(170), down(450), up(619)},
     .reports = {"pressed 0", "pressed 450", "toggled 619"}},
    // ... and take this one, whose presses lie only 290 ms apart.
    {.name = "WindowRunsFromReleaseToRelease450",
     .steps = {down(0), up(10), down(290), up(460)},
     .reports = {"pressed 0", "pressed 290"}},
    // The third release lies within 0.45 s of the first and of the second; neither may pair with it.
    {.name = "ThirdTapRightAfterAToggleStartsANewPair",
     .steps = {down(0), up(50), down(150), up(200), down(300), up(350), down(450), up(500)},
     .reports = {"pressed 0", "pressed 150", "toggled 200", "pressed 300", "pressed 450", "toggled 500"}},
    {.name = "HoldStartsAfter180MsAndItsReleaseIsNoTap",
     .steps = {down(0), up(1000), down(1100), up(1150)},
     .reports = {"pressed 0", "holdStarted 180", "holdEnded 1000", "pressed 1100"}},
    {.name = "LetterTypedWithin180MsCancelsHoldAndTap",
     .steps = {down(0), down(50, Key::Other), up(60, Key::Other), up(400), down(500), up(550)},
     .reports = {"pressed 0", "typed 50", "pressed 500"}},
    // Right Ctrl+A held a little long: the hold has begun, and the letter makes it a shortcut.
    {.name = "LetterTypedDuringAHoldMakesItAShortcut",
     .steps = {down(0), down(300, Key::Other), up(310, Key::Other), down(400, Key::Other), up(1000)},
     .reports = {"pressed 0", "holdStarted 180", "shortcut 300", "typed 300", "shortcut 400", "typed 400",
                 "holdEnded 1000"}},
    // Right Ctrl+click and Right Ctrl+scroll are shortcuts as a letter is, and no typing.
    {.name = "ClickWithin180MsCancelsHoldAndTap",
     .steps = {down(0), click(50), up(100), down(200), up(250)},
     .reports = {"pressed 0", "pressed 200"}},
    {.name = "ClickDuringAHoldMakesItAShortcut",
     .steps = {down(0), click(300), click(320), up(1000)},
     .reports = {"pressed 0", "holdStarted 180", "shortcut 300", "shortcut 320", "holdEnded 1000"}},
    {.name = "ClickWithoutTheHotkeyIsNothing",
     .steps = {down(0), up(100), click(700)},
     .reports = {"pressed 0"}},
    {.name = "LetterTypedWithoutTheHotkeyIsOnlyTyping",
     .steps = {down(0), up(100), down(700, Key::Other), up(710, Key::Other)},
     .reports = {"pressed 0", "typed 700"}},
    // The letter of our own copy chord, posted while the user holds the hotkey, is no shortcut.
    {.name = "OurOwnChordsLetterIsNeitherShortcutNorTyping",
     .steps = {down(0), paste(300), down(301, Key::Other), down(350, Key::Other), up(1000)},
     .reports = {"pressed 0", "holdStarted 180", "shortcut 350", "typed 350", "holdEnded 1000"}},
    // With Left Control as the hotkey, our paste chord's Control is neither a press nor a tap.
    {.name = "OurOwnChordsControlIsNoPressOfALeftControlHotkey",
     .hotkey = Hotkey::LeftControl,
     .steps = {paste(0), down(1, Key::LeftControl), down(2, Key::Other), up(3, Key::Other),
               up(4, Key::LeftControl), down(200, Key::LeftControl), up(250, Key::LeftControl)},
     .reports = {"pressed 200"}},
    {.name = "AFailedChordHasNoLetterToClaim",
     .steps = {down(0), failedPaste(300), down(301, Key::Other), up(1000)},
     .reports = {"pressed 0", "holdStarted 180", "shortcut 301", "typed 301", "holdEnded 1000"}},
    // A source that never reports our letters must not have the user's next key taken for one.
    {.name = "AnUnseenChordLetterIsForgottenInTime",
     .steps = {paste(0), down(1 + OwnChords::arrivalMs, Key::Other)},
     .reports = {"typed 501"}},
    {.name = "ShiftWhileHeldNeitherCancelsNorTriggers",
     .steps = {down(0), down(50, Key::Modifier), up(100, Key::Modifier), up(1000)},
     .reports = {"pressed 0", "holdStarted 180", "holdEnded 1000"}},
    // Each repeated press would otherwise re-arm the hold check, and no hold would ever start.
    {.name = "AutoRepeatDuringAHoldIsDropped",
     .steps = concat(concat({down(0)}, repeatsEvery30Ms(Key::RightControl, 30, 990)), {up(1000)}),
     .reports = {"pressed 0", "holdStarted 180", "holdEnded 1000"}},
    {.name = "EscapeDuringAHoldKeepsTheHold",
     .steps = {down(0), down(300, Key::Escape), up(350, Key::Escape), up(1000)},
     .reports = {"pressed 0", "holdStarted 180", "escape 300", "holdEnded 1000"}},
    {.name = "EscapeHeldDownReportsOnce",
     .steps = concat({down(0, Key::Escape)}, repeatsEvery30Ms(Key::Escape, 30, 600)),
     .reports = {"escape 0"}},
    {.name = "LeftControlConfiguredIgnoresRightControl",
     .hotkey = Hotkey::LeftControl,
     .steps = {down(0), up(1000), down(1100), up(1150), down(1200), up(1250), down(1300, Key::LeftControl),
               up(1350, Key::LeftControl)},
     .reports = {"pressed 1300"}},
    // Read as one shared Control state, the hotkey would stay down until left Control came up.
    {.name = "RightControlReleasedWhileLeftControlHeldEndsTheHold",
     .steps = {down(0), down(300, Key::LeftControl), up(1000), up(1500, Key::LeftControl)},
     .reports = {"pressed 0", "holdStarted 180", "holdEnded 1000"}},
    {.name = "FunctionListensToRightControl",
     .hotkey = Hotkey::Function,
     .steps = {down(0), up(1000), down(1100, Key::LeftControl), up(2100, Key::LeftControl)},
     .reports = {"pressed 0", "holdStarted 180", "holdEnded 1000"}},
    {.name = "RightOptionIsRightAlt",
     .hotkey = Hotkey::RightOption,
     .steps = {down(0), up(500), down(600, Key::RightAlt), up(1000, Key::RightAlt)},
     .reports = {"pressed 600", "holdStarted 780", "holdEnded 1000"}},
    {.name = "RightCommandIsRightSuper",
     .hotkey = Hotkey::RightCommand,
     .steps = {down(0, Key::RightAlt), up(500, Key::RightAlt), down(600, Key::RightSuper),
               up(1000, Key::RightSuper)},
     .reports = {"pressed 600", "holdStarted 780", "holdEnded 1000"}},
    // The check of the first press falls due at 180 ms, 80 ms into the second press.
    {.name = "StaleHoldCheckOfAnEarlierPressDoesNothing",
     .steps = {down(0), up(50), down(100), up(270)},
     .reports = {"pressed 0", "pressed 100", "toggled 270"}},
    {.name = "StopForgetsAPressUnderWay",
     .steps = {down(0), stopAt(100), startAt(120), up(150), down(300), up(320)},
     .reports = {"pressed 0", "pressed 300"}},
    // The release of the first press was never seen; the new press must not pass for a repeat.
    {.name = "PressAfterRestartIsNewEvenWithoutARelease",
     .steps = {down(0), stopAt(500), startAt(600), down(700), up(1500)},
     .reports = {"pressed 0", "holdStarted 180", "holdEnded 500", "pressed 700", "holdStarted 880",
                 "holdEnded 1500"}},
    // The release after a restart is never matched to the hold, so the restart ends it.
    {.name = "RestartDuringAHoldEndsIt",
     .steps = {down(0), startAt(500), up(1000)},
     .reports = {"pressed 0", "holdStarted 180", "holdEnded 500"}},
    {.name = "StopKeepsTheLastTap",
     .steps = {down(0), up(50), stopAt(100), startAt(110), down(200), up(250)},
     .reports = {"pressed 0", "pressed 200", "toggled 250"}},
    // A recording must not outlive the key that started it.
    {.name = "SwitchingTheKeyEndsAHold",
     .steps = {down(0), switchTo(500, Hotkey::LeftControl), up(1000)},
     .reports = {"pressed 0", "holdStarted 180", "holdEnded 500"}},
    {.name = "SwitchingToFunctionKeepsARightControlHold",
     .steps = {down(0), switchTo(500, Hotkey::Function), up(1000)},
     .reports = {"pressed 0", "holdStarted 180", "holdEnded 1000"}},
};

INSTANTIATE_TEST_SUITE_P(Scripts, HotkeyScript, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(HotkeyMonitorTest, FunctionSaysOnceInTheTimingLogThatRightControlServes)
{
    m_monitor.setHotkey(Hotkey::Function);
    m_monitor.start();
    m_monitor.start();
    m_monitor.setHotkey(Hotkey::RightControl);
    m_monitor.setHotkey(Hotkey::Function);
    Timing::flush();

    const QByteArray log = readAll(supportFile(QStringLiteral("timing.log")));
    EXPECT_EQ(log.count("Fn key"), 1) << log.toStdString();
}

TEST_F(HotkeyMonitorTest, KeysComeOnlyBetweenStartAndStop)
{
    m_monitor.start();
    EXPECT_TRUE(m_keys.isStarted());
    m_monitor.stop();
    EXPECT_FALSE(m_keys.isStarted());
    m_monitor.start();
    {
        HotkeyMonitor gone(m_keys, m_clock);
        gone.start();
    }
    // A destroyed monitor must not stay behind as the source's listener.
    EXPECT_FALSE(m_keys.isStarted());
}

// Destroyed during a hold, as when the program quits, the monitor must not tell its listeners, which
// may be half destroyed by then, that the hold ended.
TEST_F(HotkeyMonitorTest, ADestroyedMonitorSaysNothingOfTheHoldUnderWay)
{
    QObject listener;
    int ended = 0;
    {
        HotkeyMonitor gone(m_keys, m_clock);
        QObject::connect(&gone, &HotkeyMonitor::holdEnded, &listener, [&] { ++ended; });
        gone.start();
        m_keys.press(Key::RightControl);
        m_clock.advance(1000);
    }
    EXPECT_EQ(ended, 0);
}

// A desktop's shortcut service reports only the key it was told of, so it must hear of every change.
TEST_F(HotkeyMonitorTest, TheSourceIsToldWhichKeyIsWatchedAtTheStartAndAtEveryChange)
{
    // clang-format off
    const struct { Hotkey hotkey; PhysicalKey watched; } rows[] = {
        {Hotkey::RightOption,  PhysicalKey::RightAlt},
        {Hotkey::RightCommand, PhysicalKey::RightSuper},
        {Hotkey::LeftControl,  PhysicalKey::LeftControl},
        {Hotkey::Function,     PhysicalKey::RightControl},
        {Hotkey::RightControl, PhysicalKey::RightControl},
    };
    // clang-format on
    m_monitor.start();
    EXPECT_EQ(m_keys.watched(), PhysicalKey::RightControl);
    for (const auto& row : rows) {
        m_monitor.setHotkey(row.hotkey);
        EXPECT_EQ(m_keys.watched(), row.watched) << int(row.hotkey);
    }
}

} // namespace
