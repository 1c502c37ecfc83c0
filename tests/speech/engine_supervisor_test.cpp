#include "fake_engine_server.h"
#include "health_probe.h"
#include "supervisor_fixture.h"

#include "core/l10n.h"
#include "core/support_paths.h"

#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QTcpServer>
#include <QTest>

#include <gtest/gtest.h>

namespace {

TEST_F(SupervisorTest, CreatedEngineIsLoadingAndHasToldNobody)
{
    EXPECT_FALSE(engine().ready());
    EXPECT_FALSE(engine().polishAvailable());
    EXPECT_EQ(engine().statusText(), text("engine.loadingWhisper"));
    EXPECT_TRUE(engine().statusIsLoading());
    EXPECT_EQ(m_updates, 0);
}

struct PollRow {
    const char* name;
    int httpStatus;
    const char* health; // nullptr: the engine is not listening
    const char* provider;
    const char* generalKey;
    bool ready;
    bool polishAvailable;
    const char* statusKey; // a UI text key, or with a leading "=" the literal text
    bool loading;
};

class PollTable : public SupervisorTest, public ::testing::WithParamInterface<PollRow> {};

TEST_P(PollTable, TurnsTheHealthAnswerIntoTheStatus)
{
    const PollRow& row = GetParam();
    FakeEngineServer server;
    m_config.port = row.health ? server.port() : m_config.port;
    m_config.polishProvider = QString::fromLatin1(row.provider);
    ASSERT_TRUE(m_config.save());
    m_keys.general = QString::fromLatin1(row.generalKey);
    if (row.health)
        server.script("/health", {row.httpStatus, row.health});

    engine().poll();
    ASSERT_TRUE(waitFor([&] { return m_updates == 1; }));
    EXPECT_EQ(engine().ready(), row.ready);
    EXPECT_EQ(engine().polishAvailable(), row.polishAvailable);
    const QString status = QString::fromUtf8(row.statusKey);
    EXPECT_EQ(engine().statusText(),
              status.startsWith(QLatin1Char('=')) ? status.mid(1) : text(row.statusKey));
    EXPECT_EQ(engine().statusIsLoading(), row.loading);
}

const PollRow kPollRows[] = {
    {"ReadyLocal", 200, R"({"ready":true})", "local", "", true, false, "engine.ready", false},
    {"ReadyOpenAIWithoutKey", 200, R"({"ready":true})", "openai", "", true, false, "engine.readyNeedsKey",
     false},
    {"ReadyOpenAIWithBlankKey", 200, R"({"ready":true})", "openai", " \n", true, false,
     "engine.readyNeedsKey", false},
    {"ReadyOpenAIWithKey", 200, R"({"ready":true})", "openai", "sk-1", true, true, "engine.ready", false},
    {"StatusCodeIgnored", 500, R"({"ready":true})", "local", "", true, false, "engine.ready", false},
    {"NotReadyWithError", 200, R"({"ready":false,"error":"Modell fehlt"})", "local", "", false, false,
     "=Modell fehlt", false},
    {"NotReadyLoading", 200, R"({"ready":false,"polish":true})", "local", "", false, false,
     "engine.loadingWhisper", true},
    {"ReadyAsStringIsNoAnswer", 200, R"({"ready":"yes"})", "local", "", false, false, "engine.missing",
     false},
    {"NotListening", 200, nullptr, "local", "", false, false, "engine.missing", false},
};

INSTANTIATE_TEST_SUITE_P(Rows, PollTable, ::testing::ValuesIn(kPollRows),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(SupervisorTest, PollThatGetsNoReplyGivesUpAfter800Milliseconds)
{
    FakeEngineServer server;
    server.script("/health", ScriptedReply::held());
    m_config.port = server.port();
    ASSERT_TRUE(m_config.save());
    engine().poll();
    ASSERT_TRUE(waitFor([&] { return server.requests().size() == 1; }));
    m_clock.advance(EngineClient::kPollTimeoutMs - 1);
    QCoreApplication::processEvents();
    EXPECT_EQ(m_updates, 0);
    m_clock.advance(1);
    ASSERT_TRUE(waitFor([&] { return m_updates == 1; }));
    EXPECT_EQ(engine().statusText(), text("engine.missing"));
}

TEST_F(SupervisorTest, FirstStartSetsUpWithoutPollingThenLaunchesTheEngine)
{
    writeSetupScript(QByteArray(kRecordSetup) + kWaitForGo + kInstall);
    engine().start();
    EXPECT_EQ(engine().statusText(), text("engine.settingUp"));
    EXPECT_TRUE(engine().statusIsLoading());
    EXPECT_FALSE(engine().ready());
    EXPECT_EQ(m_updates, 1);
    m_clock.advance(3000);
    QCoreApplication::processEvents();
    EXPECT_EQ(m_updates, 1) << "polled during setup";

    QFile(supportFile(QStringLiteral("go"))).open(QIODevice::WriteOnly);
    ASSERT_TRUE(waitFor([&] { return !launches().isEmpty(); }));
    ASSERT_TRUE(pollUntil([&] { return isReady(); }));

    const QString support = SupportPaths::directory();
    EXPECT_EQ(QString::fromUtf8(readAll(supportFile(QStringLiteral("setup-args")))),
              resourceFile(QStringLiteral("engine")) + u'\n' + support + u'\n' + QStringLiteral("1.0.0\n"));
    const QJsonObject launch = launches().front();
    EXPECT_EQ(launch.value(QStringLiteral("argv")).toArray(),
              (QJsonArray{QString(support + QStringLiteral("/.venv/bin/python")), QStringLiteral("-u"),
                          QStringLiteral("-m"), QStringLiteral("quenda_engine")}));
    EXPECT_EQ(launch.value(QStringLiteral("cwd")).toString(), support);
    const QString models = support + QStringLiteral("/models");
    const QString hub = models + QStringLiteral("/hub");
    EXPECT_EQ(launch.value(QStringLiteral("env")).toObject(),
              (QJsonObject{{QStringLiteral("PYTHONUNBUFFERED"), QStringLiteral("1")},
                           {QStringLiteral("HF_HUB_DISABLE_TELEMETRY"), QStringLiteral("1")},
                           {QStringLiteral("QUENDA_SUPPORT"), support},
                           {QStringLiteral("HF_HOME"), models},
                           {QStringLiteral("HF_HUB_CACHE"), hub},
                           {QStringLiteral("HUGGINGFACE_HUB_CACHE"), hub}}));
    // The launch emptied the log, so it holds the engine's output and no longer the setup's.
    ASSERT_TRUE(
        waitFor([&] { return readAll(supportFile(QStringLiteral("engine.log"))).contains("fake engine"); }));
    EXPECT_FALSE(readAll(supportFile(QStringLiteral("engine.log"))).contains("setup ran"));
}

TEST_F(SupervisorTest, VersionsDifferingOnlyInSurroundingBlanksNeedNoSetup)
{
    TempSupportDir::writeAll(resourceFile(QStringLiteral("engine.version")), " 1.0.0 \n\n");
    installEnvironment("1.0.0");
    engine().start();
    EXPECT_EQ(setupRuns(), 0);
    EXPECT_EQ(engine().statusText(), text("engine.loadingWhisper"));
    ASSERT_TRUE(pollUntil([&] { return isReady(); }));
}

enum class Missing { VersionFile, VersionText, Script, EngineFolder };

class IncompleteResources : public SupervisorTest, public ::testing::WithParamInterface<Missing> {};

TEST_P(IncompleteResources, SkipSetupAndShowMissingWithoutAnInterpreter)
{
    switch (GetParam()) {
    case Missing::VersionFile:
        QFile::remove(resourceFile(QStringLiteral("engine.version")));
        break;
    case Missing::VersionText:
        TempSupportDir::writeAll(resourceFile(QStringLiteral("engine.version")), " \n");
        break;
    case Missing::Script:
        QFile::remove(resourceFile(QStringLiteral("setup_engine.sh")));
        break;
    case Missing::EngineFolder:
        QDir(resourceFile(QStringLiteral("engine"))).removeRecursively();
        break;
    }
    engine().start();
    EXPECT_EQ(engine().statusText(), text("engine.missing"));
    EXPECT_FALSE(engine().statusIsLoading());
    ASSERT_TRUE(pollUntil([&] { return m_updates >= 2; }));
    EXPECT_EQ(engine().statusText(), text("engine.missing"));
    EXPECT_EQ(setupRuns(), 0);
}

INSTANTIATE_TEST_SUITE_P(Resources, IncompleteResources,
                         ::testing::Values(Missing::VersionFile, Missing::VersionText, Missing::Script,
                                           Missing::EngineFolder));

TEST_F(SupervisorTest, FailedSetupShowsSetupFailedWithItsOutputInAFreshLog)
{
    TempSupportDir::writeAll(supportFile(QStringLiteral("engine.log")), "stale output\n");
    writeSetupScript(QByteArray(kRecordSetup) + "exit 4\n");
    engine().start();
    ASSERT_TRUE(waitFor([&] { return engine().statusText() == text("engine.setupFailed"); }));
    EXPECT_FALSE(engine().statusIsLoading());
    EXPECT_EQ(m_updates, 2);
    const QByteArray log = readAll(supportFile(QStringLiteral("engine.log")));
    EXPECT_TRUE(log.contains("setup ran"));
    EXPECT_FALSE(log.contains("stale"));
    EXPECT_TRUE(launches().isEmpty());
}

TEST_F(SupervisorTest, SetupThatCannotStartShowsTheReason)
{
    makeEngine({m_resources.path(), QStringLiteral("/nonexistent/bash")});
    engine().start();
    const QString prefix = L10n::format(QStringLiteral("engine.setupFailedDetail"), {QString()});
    EXPECT_TRUE(engine().statusText().startsWith(prefix)) << engine().statusText().toStdString();
    EXPECT_GT(engine().statusText().size(), prefix.size());
    EXPECT_FALSE(engine().statusIsLoading());
    EXPECT_EQ(m_updates, 1);
}

// Catches an endless loop of setup runs when the script exits 0 but leaves no matching stamp.
TEST_F(SupervisorTest, SetupThatSucceedsWithoutItsStampRunsOnlyOnce)
{
    writeSetupScript(QByteArray(kRecordSetup) + "exit 0\n");
    engine().start();
    ASSERT_TRUE(waitFor([&] { return engine().statusText() == text("engine.setupFailed"); }));
    ASSERT_TRUE(waitFor([&] { return processes().isEmpty(); }));
    EXPECT_EQ(setupRuns(), 1);
    EXPECT_FALSE(engine().statusIsLoading());
}

TEST_F(SupervisorTest, EngineAlreadyAnsweringIsAdoptedAndItsEndShowsMissing)
{
    installEnvironment();
    QProcess running;
    running.setWorkingDirectory(SupportPaths::directory());
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QUENDA_SUPPORT"), SupportPaths::directory());
    running.setProcessEnvironment(env);
    running.start(QStringLiteral("/usr/bin/python3"),
                  {QStringLiteral("-m"), QStringLiteral("quenda_engine")});
    ASSERT_TRUE(waitFor([&] { return HealthProbe::fetch(m_config.port, 200).has_value(); }));

    engine().start();
    ASSERT_TRUE(pollUntil([&] { return isReady(); }));
    EXPECT_EQ(launches().size(), 1) << "a second engine was started";
    EXPECT_TRUE(processes().isEmpty());

    running.kill();
    running.waitForFinished();
    ASSERT_TRUE(pollUntil([&] { return engine().statusText() == text("engine.missing"); }));
    EXPECT_FALSE(engine().ready());
}

TEST_F(SupervisorTest, RestartDuringSetupShowsMissingUntilTheSetupEndsThenLaunches)
{
    writeSetupScript(QByteArray(kRecordSetup) + kWaitForGo + kInstall);
    engine().start();
    engine().restart();
    m_clock.advance(SpeechEngine::kRestartDelayMs);
    ASSERT_TRUE(waitFor([&] { return engine().statusText() == text("engine.missing"); }));
    EXPECT_EQ(processes().size(), 1) << "only the setup script runs";

    QFile(supportFile(QStringLiteral("go"))).open(QIODevice::WriteOnly);
    ASSERT_TRUE(waitFor([&] { return engine().statusText() == text("engine.loadingWhisper"); }));
    ASSERT_TRUE(pollUntil([&] { return isReady(); }));
    EXPECT_EQ(setupRuns(), 1);
    EXPECT_EQ(launches().size(), 1);
}

// Catches the terminated predecessor's late exit marking the running successor "stopped".
TEST_F(SupervisorTest, PredecessorExitingAfterRestartLeavesTheSuccessorAlone)
{
    installEnvironment();
    engine().start();
    ASSERT_TRUE(pollUntil([&] { return isReady(); }));
    engine().restart();
    // The successor is launched before the event loop can report the predecessor's exit.
    m_clock.advance(SpeechEngine::kRestartDelayMs);
    EXPECT_EQ(engine().statusText(), text("engine.loadingWhisper"));
    ASSERT_TRUE(waitFor([&] { return processes().size() == 1; })) << "predecessor not reaped";
    ASSERT_TRUE(pollUntil([&] { return isReady(); }));
    EXPECT_FALSE(m_history.contains(text("engine.stopped")));
    EXPECT_EQ(launches().size(), 2);
}

// Catches two engines started when the user reloads twice within the restart delay.
TEST_F(SupervisorTest, SecondRestartWithinTheDelayLaunchesOneEngine)
{
    installEnvironment();
    engine().start();
    ASSERT_TRUE(pollUntil([&] { return isReady(); }));
    engine().restart();
    m_clock.advance(SpeechEngine::kRestartDelayMs / 2);
    engine().restart();
    m_clock.advance(SpeechEngine::kRestartDelayMs);
    // No event has run since the first restart, so the terminated predecessor is still held too.
    EXPECT_EQ(processes().size(), 2);
    ASSERT_TRUE(pollUntil([&] { return isReady(); }));
    ASSERT_TRUE(waitFor([&] { return processes().size() == 1; }));
}

TEST_F(SupervisorTest, ShutdownStopsPollingAndTheEnginesExitShowsNothing)
{
    installEnvironment();
    engine().start();
    ASSERT_TRUE(pollUntil([&] { return isReady(); }));
    const int updates = m_updates;

    engine().shutdown();
    EXPECT_FALSE(engine().ready());
    EXPECT_EQ(engine().statusText(), text("engine.ready"));
    EXPECT_FALSE(engine().statusIsLoading());
    EXPECT_EQ(m_updates, updates);
    ASSERT_TRUE(waitFor([&] { return processes().isEmpty(); }));
    m_clock.advance(3 * SpeechEngine::kPollIntervalMs);
    QCoreApplication::processEvents();
    EXPECT_EQ(m_updates, updates);
    EXPECT_EQ(engine().statusText(), text("engine.ready"));
}

TEST_F(SupervisorTest, EngineThatExitsShowsStoppedAndLaterPollsKeepIt)
{
    writeInterpreter("#!/bin/sh\necho leaving\nexit 3\n");
    makeEngine({});
    engine().start();
    ASSERT_TRUE(waitFor([&] { return engine().statusText() == text("engine.stopped"); }));
    EXPECT_FALSE(engine().ready());
    EXPECT_FALSE(engine().statusIsLoading());
    const int updates = m_updates;
    ASSERT_TRUE(pollUntil([&] { return m_updates > updates; }));
    EXPECT_EQ(engine().statusText(), text("engine.stopped"));
    EXPECT_TRUE(readAll(supportFile(QStringLiteral("engine.log"))).contains("leaving"));
}

TEST_F(SupervisorTest, SilentProcessKeepsLoadingWhilePollsGetNoAnswer)
{
    writeInterpreter("#!/bin/sh\nexec sleep 30\n");
    makeEngine({});
    engine().start();
    ASSERT_TRUE(waitFor([&] { return m_updates >= 2; }));
    const int updates = m_updates;
    ASSERT_TRUE(pollUntil([&] { return m_updates > updates; }));
    EXPECT_EQ(engine().statusText(), text("engine.loadingWhisper"));
    EXPECT_TRUE(engine().statusIsLoading());
}

TEST_F(SupervisorTest, InterpreterThatCannotStartShowsTheSystemError)
{
    writeInterpreter("#!/nonexistent/interpreter\n");
    makeEngine({});
    engine().start();
    ASSERT_FALSE(m_history.isEmpty());
    const QString shown = m_history.front();
    EXPECT_FALSE(shown.isEmpty());
    EXPECT_NE(shown, text("engine.loadingWhisper"));
    EXPECT_NE(shown, text("engine.missing"));
    EXPECT_TRUE(processes().isEmpty() || processes().front()->state() == QProcess::NotRunning);
}

} // namespace

namespace {

// Catches a probe that waits longer than the start path allows, or that runs queued events
// (a nested event loop) while the main thread is held.
TEST(HealthProbeTest, SilentListenerGivesNoAnswerWithinTheLimitWithoutRunningEvents)
{
    QTcpServer silent;
    ASSERT_TRUE(silent.listen(QHostAddress::LocalHost, 0));
    QObject context;
    bool ran = false;
    QMetaObject::invokeMethod(
        &context, [&] { ran = true; }, Qt::QueuedConnection);
    QElapsedTimer timer;
    timer.start();
    EXPECT_FALSE(HealthProbe::fetch(silent.serverPort(), SpeechEngine::kProbeTimeoutMs).has_value());
    EXPECT_LT(timer.elapsed(), 500);
    EXPECT_GE(timer.elapsed(), SpeechEngine::kProbeTimeoutMs - 50);
    EXPECT_FALSE(ran);
}

} // namespace
