#include "core/base/system_clock.h"
#include "dictation/hotkey/hotkey_monitor.h"
#include "platform/linux/x11/x11_key_source.h"
#include "xtest_keyboard.h"

#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

// The real key source and the real 0.18 s under the test X server; waits are bounded and only
// for events to arrive, never to let time pass.
class HotkeyOverX11 : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_keyboard.isOpen()) << "needs the test X server (scripts/with-services)";
        const auto record = [this](const char* name) {
            return [this, name] { m_reports.emplace_back(name); };
        };
        QObject::connect(&m_monitor, &HotkeyMonitor::pressed, &m_monitor, record("pressed"));
        QObject::connect(&m_monitor, &HotkeyMonitor::holdStarted, &m_monitor, record("holdStarted"));
        QObject::connect(&m_monitor, &HotkeyMonitor::holdEnded, &m_monitor, record("holdEnded"));
        QObject::connect(&m_monitor, &HotkeyMonitor::toggled, &m_monitor, record("toggled"));
        QObject::connect(&m_monitor, &HotkeyMonitor::escapePressed, &m_monitor, record("escape"));
        ASSERT_EQ(m_monitor.start(), KeySource::Reach::Global);
    }

    // Waits for the next report of that name and hands over everything reported until then.
    std::vector<std::string> until(const char* name)
    {
        const auto seen = [&] {
            return std::find(m_reports.begin(), m_reports.end(), name) != m_reports.end();
        };
        EXPECT_TRUE(QTest::qWaitFor(seen, 5000)) << "no " << name;
        std::vector<std::string> reports;
        reports.swap(m_reports);
        return reports;
    }

    using Reports = std::vector<std::string>;

    XTestKeyboard m_keyboard;
    SystemClock m_clock;
    X11KeySource m_source{
        X11KeySource::Environment{.displayName = qgetenv("DISPLAY"), .waylandSession = false}};
    HotkeyMonitor m_monitor{m_source, m_clock};
    std::vector<std::string> m_reports;
};

// The server passes a second press of a held key on as raw event: an auto-repeat.
TEST_F(HotkeyOverX11, AKeyPressedAgainWhileHeldCountsOnce)
{
    m_keyboard.press("Escape");
    m_keyboard.press("Escape");
    m_keyboard.release("Escape");
    m_keyboard.tap("Control_R");
    EXPECT_EQ(until("pressed"), (Reports{"escape", "pressed"}));
}

// Read as one shared Control state, the hotkey would count as down until left Control came up.
TEST_F(HotkeyOverX11, ReleasingRightControlWhileLeftControlIsHeldEndsTheHold)
{
    m_keyboard.press("Control_R");
    EXPECT_EQ(until("holdStarted"), (Reports{"pressed", "holdStarted"}));
    m_keyboard.press("Control_L");
    m_keyboard.release("Control_R");
    EXPECT_EQ(until("holdEnded"), Reports{"holdEnded"});
    m_keyboard.release("Control_L");
}

} // namespace
