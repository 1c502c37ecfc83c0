#include "fake_accessibility_bus.h"
#include "test_text.h"

#include "core/base/work_queue.h"
#include "platform/fake/manual_clock.h"
#include "platform/linux/permission/linux_permission_probe.h"
#include "service_check.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>

#include <gtest/gtest.h>

namespace {

class LinuxPermissionProbeTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        QUENDA_NEEDS_SERVICE(ServiceCheck::inServices(), "the services of scripts/with-services");
    }
    // Lets every read of the accessibility bus that was asked for answer.
    void settle()
    {
        m_work.waitForIdle();
        QCoreApplication::processEvents();
    }

    ManualClock m_clock;
    WorkQueue m_work;
    FakeAccessibilityBus m_bus;
};

// Without XWayland a Wayland session posts keys through its own route, and there is no X server.
TEST_F(LinuxPermissionProbeTest, AccessibilityNeedsTheBusSwitchedOnAndTheSessionsWayToPostKeys)
{
    const QByteArray noX = ":9999";
    struct Case {
        const char* what;
        bool busEnabled;
        bool busAnswers;
        KeyRoute keys;
        QByteArray display;
        bool trusted;
    };
    // clang-format off
    const Case cases[] = {
        {.what = "bus on", .busEnabled = true, .busAnswers = true, .keys = KeyRoute::XTest, .display = {}, .trusted = true},
        {.what = "bus off", .busEnabled = false, .busAnswers = true, .keys = KeyRoute::XTest, .display = {}, .trusted = false},
        {.what = "no such bus", .busEnabled = true, .busAnswers = false, .keys = KeyRoute::XTest, .display = {}, .trusted = false},
        {.what = "no X server to post keys with", .busEnabled = true, .busAnswers = true, .keys = KeyRoute::XTest, .display = noX, .trusted = false},
        {.what = "virtual keyboard, no XWayland", .busEnabled = true, .busAnswers = true, .keys = KeyRoute::VirtualKeyboard, .display = noX, .trusted = true},
        {.what = "GNOME's session, no XWayland", .busEnabled = true, .busAnswers = true, .keys = KeyRoute::MutterRemoteDesktop, .display = noX, .trusted = true},
        {.what = "no route, XWayland's XTest", .busEnabled = true, .busAnswers = true, .keys = KeyRoute::Unavailable, .display = {}, .trusted = false},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        m_bus.setEnabled(c.busEnabled);
        LinuxPermissionProbe::Sources sources;
        sources.accessibilityService = c.busAnswers ? m_bus.service() : s("de.morvane.quenda.test.nobody");
        sources.xDisplay = c.display;
        sources.keys = c.keys;
        LinuxPermissionProbe probe(m_clock, m_work, sources);
        settle();
        EXPECT_EQ(probe.accessibilityTrusted(), c.trusted);
    }
}

TEST_F(LinuxPermissionProbeTest, ThePollIsAnsweredFromTheLastReadingWhileTheBusIsAskedAgain)
{
    LinuxPermissionProbe::Sources sources;
    sources.accessibilityService = m_bus.service();
    m_bus.setEnabled(true);
    LinuxPermissionProbe probe(m_clock, m_work, sources);
    settle();
    ASSERT_TRUE(probe.accessibilityTrusted());

    m_bus.setEnabled(false);
    m_clock.advance(LinuxPermissionProbe::refreshMs - 1);
    EXPECT_TRUE(probe.accessibilityTrusted());
    settle();
    EXPECT_TRUE(probe.accessibilityTrusted()) << "asked again before the reading was old";

    m_bus.hold();
    m_clock.advance(1);
    // This poll has the bus asked again, and the bus cannot answer yet; a probe that asked on the
    // main thread would wait here and then report failure.
    EXPECT_TRUE(probe.accessibilityTrusted());
    m_bus.release();
    settle();
    EXPECT_FALSE(probe.accessibilityTrusted()) << "switching the bus off went unnoticed";
}

// Read before either half answered, "not granted" would pass for the answer: the launch would open
// the main window although everything is granted.
TEST_F(LinuxPermissionProbeTest, AnswersCountOnlyOnceTheBusAndPulseAudioHaveBothAnswered)
{
    const QString pactl = QStandardPaths::findExecutable(s("pactl"));
    QUENDA_NEEDS_SERVICE(!pactl.isEmpty(), "pactl (pulseaudio-utils)");
    // A microphone, so that the probe shows when PulseAudio has answered it.
    QProcess load;
    load.start(pactl, {s("load-module"), s("module-null-source"), s("source_name=quenda_test_answers")});
    ASSERT_TRUE(load.waitForFinished(5000));
    const QString module = QString::fromUtf8(load.readAllStandardOutput()).trimmed();
    ASSERT_FALSE(module.isEmpty()) << load.readAllStandardError().toStdString();
    struct Row {
        const char* what;
        bool busAnswers;
        bool pulseAnswers;
    };
    // clang-format off
    const Row rows[] = {
        {.what = "the bus not yet", .busAnswers = false, .pulseAnswers = true},
        {.what = "PulseAudio not",  .busAnswers = true,  .pulseAnswers = false},
        {.what = "both",            .busAnswers = true,  .pulseAnswers = true},
    };
    // clang-format on
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        LinuxPermissionProbe::Sources sources;
        sources.accessibilityService = m_bus.service();
        if (!row.pulseAnswers)
            sources.pulseServer = QByteArrayLiteral("unix:/nonexistent/quenda-pulse");
        m_bus.setEnabled(true);
        if (!row.busAnswers)
            m_bus.hold();
        LinuxPermissionProbe probe(m_clock, m_work, sources);
        if (row.pulseAnswers) {
            ASSERT_TRUE(QTest::qWaitFor([&] { return probe.microphoneAvailable(); }, 5000));
        }
        if (row.busAnswers)
            settle();
        EXPECT_EQ(probe.answered(), row.busAnswers && row.pulseAnswers);
        m_bus.release();
        settle();
        EXPECT_EQ(probe.answered(), row.pulseAnswers);
    }
    EXPECT_EQ(QProcess::execute(pactl, {s("unload-module"), module}), 0);
}

TEST_F(LinuxPermissionProbeTest, TheMicrophoneIsACaptureSourceNotTheMonitorOfTheSpeakers)
{
    const QString pactl = QStandardPaths::findExecutable(s("pactl"));
    QUENDA_NEEDS_SERVICE(!pactl.isEmpty(), "pactl (pulseaudio-utils)");
    LinuxPermissionProbe probe(m_clock, m_work);
    PulseSourceWatch watch;
    ASSERT_TRUE(QTest::qWaitFor([&] { return watch.microphones() >= 0; }, 5000))
        << "PulseAudio never answered";
    EXPECT_EQ(watch.microphones(), 0) << "the null sink's monitor counted as a microphone";
    EXPECT_FALSE(probe.microphoneAvailable());

    QProcess load;
    load.start(pactl, {s("load-module"), s("module-null-source"), s("source_name=quenda_test_microphone")});
    ASSERT_TRUE(load.waitForFinished(5000));
    const QString module = QString::fromUtf8(load.readAllStandardOutput()).trimmed();
    ASSERT_FALSE(module.isEmpty()) << load.readAllStandardError().toStdString();
    EXPECT_TRUE(QTest::qWaitFor([&] { return probe.microphoneAvailable(); }, 5000))
        << "a new source went unnoticed";

    ASSERT_EQ(QProcess::execute(pactl, {s("unload-module"), module}), 0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !probe.microphoneAvailable(); }, 5000))
        << "a removed source went unnoticed";
}

TEST(PulseSourceWatchTest, AnAbsentServerIsTriedOncePerIntervalAndLetsTheProgramQuit)
{
    // Every try fails at once here, which is the case that used to double the pending tries.
    QElapsedTimer watched;
    int attempts = 0;
    {
        PulseSourceWatch watch(QByteArrayLiteral("unix:/nonexistent/quenda-pulse"), 20);
        watched.start();
        QTest::qWait(400);
        attempts = watch.connectionAttempts();
        EXPECT_EQ(watch.microphones(), -1);
    }
    const qint64 rounds = watched.elapsed() / 20;
    EXPECT_GE(attempts, 2) << "a lost server is never asked again";
    EXPECT_LE(attempts, rounds + 2) << "tries pile up: " << attempts << " in " << rounds << " intervals";
}

} // namespace
