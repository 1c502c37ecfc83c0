#include "fake_engine_server.h"
#include "fake_provider_keys.h"
#include "platform/fake/manual_clock.h"
#include "qstring_printer.h"
#include "speech/speech_engine.h"
#include "support/temp_support_dir.h"

#include "core/base/support_paths.h"
#include "core/text/l10n.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTcpServer>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace {

using namespace Qt::Literals::StringLiterals;

// The interpreter that setup installs: it records how it was launched, writes to its output and
// then stays silent like an engine still loading, until it is terminated.
const QByteArray kEngineStub =
    "#!/bin/sh\necho \"$0 $* | $(pwd) | $PYTHONUNBUFFERED $HF_HUB_DISABLE_TELEMETRY"
    " | $QUENDA_SUPPORT | $HF_HOME | $HF_HUB_CACHE | $HUGGINGFACE_HUB_CACHE\""
    " >> launches\necho engine output\nexec sleep 30\n";
const QByteArray kWaitForGo = "while [ ! -e \"$2/go\" ]; do sleep 0.01; done\n";
const QByteArray kInstall = "mkdir -p \"$2/.venv/bin\"\ncp \"$1/python\" \"$2/.venv/bin/python\"\n"
                            "printf '%s\\n' \"$3\" > \"$2/engine.version\"\n";

QString text(const char* key)
{
    return L10n::s(QString::fromLatin1(key));
}

// The system's own text for a program that cannot be started.
QString startError(const QString& program, const QProcessEnvironment& environment = {})
{
    QProcess process;
    if (!environment.isEmpty())
        process.setProcessEnvironment(environment);
    process.start(program, {});
    process.waitForStarted();
    return process.errorString();
}

// A support folder, and resources (version " 1.0.0 ") whose setup script installs kEngineStub.
class SupervisorTest : public TempSupportDir {
public:
    using TempSupportDir::supportFile;
    using TempSupportDir::writeAll;

    void SetUp() override
    {
        TempSupportDir::SetUp();
        QTcpServer probe;
        probe.listen(QHostAddress::LocalHost, 0);
        m_config.port = probe.serverPort();
        m_config.polishProvider = PolishProvider::Local;
        writeExecutable(resourceFile("engine/python"), kEngineStub);
        writeAll(resourceFile("engine.version"), " 1.0.0 \n\n");
        writeSetupScript(kInstall);
    }
    SpeechEngine& engine(const QString& shell = u"/bin/bash"_s)
    {
        if (!m_engine) {
            m_engine = std::make_unique<SpeechEngine>(
                m_clock, [this] { return m_config; }, m_keys, EngineLocations{resourceFile(""), shell});
            QObject::connect(m_engine.get(), &SpeechEngine::statusChanged, m_engine.get(),
                             [this] { m_history << m_engine->statusText(); });
        }
        return *m_engine;
    }
    QString resourceFile(const char* name) const { return root() + u"/res/"_s + QLatin1String(name); }
    void writeSetupScript(const QByteArray& body)
    {
        writeAll(resourceFile("setup_engine.sh"), "echo \"setup $1 | $2 | $3\"\n" + body);
    }
    static void writeExecutable(const QString& path, const QByteArray& script)
    {
        writeAll(path, script);
        QFile::setPermissions(path, QFile::permissions(path) | QFileDevice::ExeOwner);
    }
    // What a successful setup leaves behind, made by hand.
    void install(const QByteArray& interpreter = kEngineStub, const QByteArray& version = "1.0.0")
    {
        writeExecutable(supportFile(u".venv/bin/python"_s), interpreter);
        writeAll(supportFile(u"engine.version"_s), version);
    }
    // Points the configured port at an in-test engine that answers /health with `body`.
    void serveHealth(const QByteArray& body, int status = 200)
    {
        m_server = std::make_unique<FakeEngineServer>();
        m_server->script("/health", {status, body});
        m_config.port = m_server->port();
    }
    // Whether something answers /health on `port` with a decodable body.
    bool answers(qint64 port)
    {
        EngineClient client(m_clock);
        std::optional<bool> answered;
        QObject context;
        client.health(port, &context,
                      [&](const EngineResult<HealthBody>& health) { answered = health.ok(); });
        waitFor([&] { return answered.has_value(); });
        return answered.value_or(false);
    }
    QList<QProcess*> processes() { return engine().findChildren<QProcess*>(); }
    // Runs the health poll second by second on the manual clock until done() holds.
    bool pollUntil(const std::function<bool()>& done)
    {
        for (int second = 0; second < 10 && !done(); ++second) {
            m_clock.advance(SpeechEngine::kPollIntervalMs);
            // Counted after the tick: the poll it timed out reports at once, the new one later.
            const qsizetype before = m_history.size();
            if (!waitFor([&] { return m_history.size() > before; }))
                return false;
        }
        return done();
    }
    static bool waitFor(const std::function<bool()>& done) { return QTest::qWaitFor(done, 8000); }

    ManualClock m_clock;
    FakeProviderKeys m_keys;
    QuendaConfig m_config = QuendaConfig::standard();
    QStringList m_history; // the status text at each statusChanged()
    std::unique_ptr<FakeEngineServer> m_server;

private:
    std::unique_ptr<SpeechEngine> m_engine;
};

using S = SupervisorTest;
using Act = std::function<QString(S&)>; // brings an event about and gives the text it must show

// Installs `interpreter` (if any), replaces the setup script (if given), starts and waits for
// `updates` statusChanged() reports. Without `shown` the text is the system's error for the interpreter.
Act started(const char* interpreter, const char* setup, int updates, const char* shown)
{
    return [=](S& t) {
        if (interpreter)
            t.install(interpreter);
        if (setup)
            t.writeSetupScript(setup);
        t.engine().start();
        t.waitFor([&] { return t.m_history.size() >= updates; });
        return shown ? text(shown)
                     : startError(t.supportFile(u".venv/bin/python"_s),
                                  QProcessEnvironment::systemEnvironment());
    };
}

// One poll of an engine answering `body` (none: nothing listens). `shown` is a text key, or with a
// leading "=" the text itself.
Act polled(const QByteArray& body, const char* shown, const char* provider = "local", const char* key = "",
           int status = 200)
{
    return [=](S& t) {
        t.m_config.polishProvider = PolishProviderText::table.decode(QString::fromLatin1(provider));
        t.m_keys.general = QString::fromLatin1(key);
        if (!body.isNull())
            t.serveHealth(body, status);
        t.engine().poll();
        t.waitFor([&] { return !t.m_history.isEmpty(); });
        return shown[0] == '=' ? QString::fromUtf8(shown + 1) : text(shown);
    };
}

struct StatusRow {
    const char* event;
    Act act;
    bool ready;
    bool polishAvailable;
    bool loading;
    bool told; // statusChanged() came, last with the final status
};

class StatusTable : public SupervisorTest, public ::testing::WithParamInterface<StatusRow> {};

TEST_P(StatusTable, ShowsWhatTheEventCallsFor)
{
    const QString status = GetParam().act(*this);
    EXPECT_EQ(engine().statusText(), status);
    EXPECT_EQ(engine().ready(), GetParam().ready);
    EXPECT_EQ(engine().polishAvailable(), GetParam().polishAvailable);
    EXPECT_EQ(engine().statusIsLoading(), GetParam().loading);
    EXPECT_EQ(m_history.value(m_history.size() - 1), GetParam().told ? status : QString());
}

const QByteArray kReady = R"({"ready":true})";

const StatusRow kStatusRows[] = {
    {"SetupStarted", started(nullptr, kWaitForGo, 1, "engine.settingUp"), false, false, true, true},
    {"SetupCannotStart",
     [](S& t) {
         t.engine(u"/nonexistent/bash"_s).start();
         t.waitFor([&] { return !t.m_history.isEmpty(); });
         return L10n::format(u"engine.setupFailedDetail"_s, {startError(u"/nonexistent/bash"_s)});
     },
     false, false, false, true},
    {"SetupExitedNonZero", started(nullptr, "exit 4\n", 2, "engine.setupFailed"), false, false, false, true},
    // Running the script again would loop for ever, emptying the log that explains why.
    {"SetupExitedZeroWithoutStamp", started(nullptr, "exit 0\n", 2, "engine.setupFailed"), false, false,
     false, true},
    // A blank resource version means there is no setup step.
    {"InterpreterMissingAtLaunch",
     [](S& t) {
         t.writeAll(t.resourceFile("engine.version"), " \n");
         t.engine().start();
         t.waitFor([&] { return !t.m_history.isEmpty(); });
         return text("engine.missing");
     },
     false, false, false, true},
    {"EngineProcessStarted", started(kEngineStub, nullptr, 1, "engine.loadingWhisper"), false, false, true,
     true},
    {"EngineProcessCannotStart", started("#!/nonexistent/sh\n", nullptr, 1, nullptr), false, false, false,
     true},
    // Replaced by "missing" at the next poll, the reason the engine is not there would be lost.
    {.event = "FailedLaunchKeepsItsErrorWhilePollsGoUnanswered",
     .act = started("#!/nonexistent/sh\n", nullptr, 2, nullptr),
     .ready = false,
     .polishAvailable = false,
     .loading = false,
     .told = true},
    {"CurrentEngineProcessExited", started("#!/bin/sh\nexit 3\n", nullptr, 3, "engine.stopped"), false, false,
     false, true},
    {"PollNoAnswerWithAProcess", started(kEngineStub, nullptr, 2, "engine.loadingWhisper"), false, false,
     true, true},
    {"PollNoAnswerWithoutAProcess", polled({}, "engine.missing"), false, false, false, true},
    // The status code of a health reply is not looked at.
    {"PollReadyLocal", polled(kReady, "engine.ready", "local", "", 500), true, false, false, true},
    {"PollReadyOpenAIWithBlankKey", polled(kReady, "engine.readyNeedsKey", "openai", " \n"), true, false,
     false, true},
    {"PollReadyOpenAIWithKey", polled(kReady, "engine.ready", "openai", "sk-1"), true, true, false, true},
    {"PollNotReadyWithError", polled(R"({"ready":false,"error":"Modell fehlt"})", "=Modell fehlt"), false,
     false, false, true},
    {"PollNotReadyWithoutError", polled(R"({"ready":false,"polish":true})", "engine.loadingWhisper"), false,
     false, true, true},
    {"PollReadyAsStringIsNoAnswer", polled(R"({"ready":"yes"})", "engine.missing"), false, false, false,
     true},
    // Read as "not ready", a reply without the flag would pass its "error" off as the engine's own.
    {.event = "PollWithoutReadyIsNoAnswer",
     .act = polled(R"({"error":"Modell fehlt"})", "engine.missing"),
     .ready = false,
     .polishAvailable = false,
     .loading = false,
     .told = true},
    {"PollReplyTooLargeIsNoAnswer",
     polled(QByteArray(EngineClient::kMaxHealthBytes, ' ') + kReady, "engine.missing"), false, false, false,
     true},
    // Polling stops, a poll answer on its way is dropped, and the terminated process's end shows nothing.
    {"Shutdown",
     [](S& t) {
         t.install();
         t.engine().start();
         t.waitFor([&] { return t.m_history.size() == 2; }); // launched, and the first poll unanswered
         t.serveHealth(kReady);
         t.pollUntil([&] { return t.engine().ready(); });
         t.m_clock.advance(SpeechEngine::kPollIntervalMs);
         t.m_history.clear();
         t.engine().shutdown();
         t.waitFor([&] { return t.processes().isEmpty() && t.m_clock.pendingCount() == 0; });
         t.m_clock.advance(3 * SpeechEngine::kPollIntervalMs);
         QCoreApplication::processEvents();
         return text("engine.ready");
     },
     false, false, false, false},
};

INSTANTIATE_TEST_SUITE_P(Events, StatusTable, ::testing::ValuesIn(kStatusRows),
                         [](const auto& info) { return std::string(info.param.event); });

TEST_F(SupervisorTest, FirstStartSetsUpWithoutPollingThenLaunchesTheEngine)
{
    const QString log = supportFile(u"engine.log"_s);
    const QString support = SupportPaths::directory();
    writeAll(log, "stale output\n");
    writeSetupScript(kWaitForGo + kInstall);
    engine().start();
    const QByteArray setup = u"setup %1 | %2 | 1.0.0\n"_s.arg(resourceFile("engine"), support).toUtf8();
    ASSERT_TRUE(waitFor([&] { return readAll(log) == setup; })) << readAll(log).toStdString();
    m_clock.advance(3 * SpeechEngine::kPollIntervalMs);
    QCoreApplication::processEvents();
    EXPECT_EQ(m_history, QStringList{text("engine.settingUp")}) << "polled during setup";

    writeAll(supportFile(u"go"_s), {});
    ASSERT_TRUE(waitFor([&] { return readAll(log) == "engine output\n"; })) << "the launch kept the log";
    EXPECT_EQ(engine().statusText(), text("engine.loadingWhisper"));
    EXPECT_EQ(readAll(supportFile(u"launches"_s)),
              u"%1/.venv/bin/python -u -m quenda_engine | %1 | 1 1 | %1 | %2 | %2/hub | %2/hub\n"_s
                  .arg(support, SupportPaths::models())
                  .toUtf8());
    const qsizetype told = m_history.size();
    EXPECT_TRUE(pollUntil([&] { return m_history.size() > told; })) << "no polling after the launch";
}

TEST_F(SupervisorTest, EngineAlreadyAnsweringIsKeptAndItsEndShowsMissing)
{
    install();
    writeAll(root() + u"/served/health"_s, kReady);
    QProcess running;
    running.start(u"/usr/bin/python3"_s,
                  {u"-m"_s, u"http.server"_s, u"--bind"_s, u"127.0.0.1"_s, u"--directory"_s,
                   root() + u"/served"_s, QString::number(m_config.port)});
    ASSERT_TRUE(waitFor([&] { return answers(m_config.port); }));

    engine().start();
    EXPECT_TRUE(processes().isEmpty()) << "a second engine was started";
    // The probe's time-out runs on the manual clock: no tick before it has its answer.
    ASSERT_TRUE(waitFor([&] { return !m_history.isEmpty(); }));
    ASSERT_TRUE(pollUntil([&] { return engine().ready(); }));
    EXPECT_TRUE(processes().isEmpty()) << "a second engine was started once the first answered";
    running.kill();
    running.waitForFinished();
    EXPECT_TRUE(pollUntil([&] { return engine().statusText() == text("engine.missing"); }));
}

TEST_F(SupervisorTest, RestartDuringSetupShowsMissingUntilTheSetupEndsThenLaunches)
{
    install(kEngineStub, "0.9.0"); // the installation being replaced must not be launched
    writeSetupScript(kWaitForGo + kInstall);
    engine().start();
    engine().start(); // does nothing while the setup runs
    engine().restart();
    m_clock.advance(SpeechEngine::kRestartDelayMs);
    ASSERT_TRUE(waitFor([&] { return engine().statusText() == text("engine.missing"); }));
    EXPECT_EQ(processes().size(), 1) << "only the setup script runs";

    writeAll(supportFile(u"go"_s), {});
    EXPECT_TRUE(waitFor([&] { return engine().statusText() == text("engine.loadingWhisper"); }));
}

// Catches an update whose setup runs while the old engine still answers: that engine would go on
// serving the old version, and the start after the setup would keep it instead of launching the new.
TEST_F(SupervisorTest, SetupBeginsOnlyOnceTheAnsweringOldEngineWasAskedToQuitThenLaunchesTheNewOne)
{
    install(kEngineStub, "0.9.0");
    serveHealth(kReady);
    m_server->script("/shutdown", {.quit = true}); // stops listening, as the real engine does
    // The script notes whether anything still takes connections on the engine's port.
    writeSetupScript("if (exec 3<>/dev/tcp/127.0.0.1/" + QByteArray::number(m_config.port) +
                     ") 2>/dev/null; then touch \"$2/old-engine-answered\"; fi\n" + kInstall);
    engine().start();
    ASSERT_TRUE(waitFor([&] { return QFile::exists(supportFile(u"launches"_s)); }))
        << "the new engine was never launched";
    EXPECT_FALSE(QFile::exists(supportFile(u"old-engine-answered"_s)))
        << "setup ran while the old engine still answered";
}

// Catches a supervisor that reads "config.json" instead of the configuration in force: reading it
// runs the start-up migrations, which write the file, and would watch a port the user has left.
TEST_F(SupervisorTest, WatchingUsesTheConfigurationInForceAndNeverTouchesTheFile)
{
    const QString file = supportFile(u"config.json"_s);
    const QByteArray stored =
        R"({"didChooseModel":false,"openAIModel":"gpt-4.1-mini","polishProvider":"local",)"
        R"("modelPath":"/nonexistent","port":)" +
        QByteArray::number(m_config.port) + "}";
    writeAll(file, stored);
    serveHealth(kReady); // the port in force moves to an answering engine; the file keeps the old one

    engine().start();
    ASSERT_TRUE(waitFor([&] { return !m_history.isEmpty(); }));
    ASSERT_TRUE(pollUntil([&] { return m_history.size() >= 3; }));
    EXPECT_TRUE(engine().ready()) << "watched the port the file names";
    EXPECT_TRUE(processes().isEmpty());
    engine().shutdown();
    EXPECT_EQ(readAll(file), stored);
}

// Catches two engines started when the user reloads twice within the delay, and the terminated
// predecessor's late exit marking the running successor "stopped".
TEST_F(SupervisorTest, RestartsWithinTheDelayLaunchOneSuccessorThatThePredecessorsExitLeavesAlone)
{
    install();
    engine().start();
    ASSERT_TRUE(waitFor([&] { return m_history.size() == 2; })); // launched, first poll unanswered
    engine().restart();
    m_clock.advance(SpeechEngine::kRestartDelayMs / 2);
    engine().restart();
    m_clock.advance(SpeechEngine::kRestartDelayMs);
    // No event has run since the first restart, so the terminated first engine is still held too.
    EXPECT_EQ(processes().size(), 2);
    ASSERT_TRUE(waitFor([&] { return processes().size() == 1; })) << "predecessor not reaped";
    EXPECT_EQ(engine().statusText(), text("engine.loadingWhisper"));
    EXPECT_FALSE(m_history.contains(text("engine.stopped")));
}

// Catches a start that holds the main thread until it knows whether an engine answers (a blocking
// probe or a nested event loop), and one that launches a second engine before it knows.
TEST_F(SupervisorTest, StartAgainstASilentListenerReturnsAtOnceAndLaunchesOnlyOnceTheProbeTimesOut)
{
    install();
    QTcpServer silent;
    ASSERT_TRUE(silent.listen(QHostAddress::LocalHost, static_cast<quint16>(m_config.port)));
    QObject context;
    bool ran = false;
    QMetaObject::invokeMethod(
        &context, [&] { ran = true; }, Qt::QueuedConnection);
    QElapsedTimer timer;
    timer.start();
    engine().start();
    EXPECT_LT(timer.elapsed(), 200);
    EXPECT_FALSE(ran) << "start() ran the event loop";

    ASSERT_TRUE(waitFor([&] { return silent.hasPendingConnections(); }));
    QCoreApplication::processEvents();
    EXPECT_TRUE(processes().isEmpty()) << "launched before the probe had its answer";
    EXPECT_TRUE(m_history.isEmpty());
    m_clock.advance(EngineClient::kPollTimeoutMs);
    ASSERT_TRUE(waitFor([&] { return !m_history.isEmpty(); }));
    EXPECT_EQ(processes().size(), 1);
    EXPECT_EQ(m_history.front(), text("engine.loadingWhisper"));
}

// Catches a crashed engine left dead until the user finds Reload, one relaunched without end, and
// one relaunched while the program quits.
TEST_F(SupervisorTest, AnEngineEndingOnItsOwnIsLaunchedAgainThreeTimesInTenMinutesButNeverAfterAShutdown)
{
    install("#!/bin/sh\necho launched >> launches\nexit 3\n");
    const auto launches = [&] { return readAll(supportFile(u"launches"_s)).count("launched"); };
    const auto endsAs = [&](int count, const char* status) {
        return waitFor([&] { return launches() == count && engine().statusText() == text(status); });
    };
    engine().start();
    ASSERT_TRUE(endsAs(1, "engine.stopped"));
    // The back-off: 1, 4 and 16 s.
    for (const int delayMs : {1000, 4000, 16000}) {
        const int before = launches();
        m_clock.advance(delayMs - 1);
        QCoreApplication::processEvents();
        EXPECT_EQ(launches(), before) << "relaunched before " << delayMs << " ms";
        m_clock.advance(1);
        ASSERT_TRUE(endsAs(before + 1, before + 1 == 4 ? "engine.stoppedRepeatedly" : "engine.stopped"))
            << delayMs;
    }
    m_clock.advance(SpeechEngine::kAutoRestartWindowMs / 2);
    QCoreApplication::processEvents();
    EXPECT_EQ(launches(), 4) << "relaunched a fourth time";

    engine().restart(); // the user's Reload starts the count again
    m_clock.advance(SpeechEngine::kRestartDelayMs);
    ASSERT_TRUE(endsAs(5, "engine.stopped"));
    engine().shutdown();
    m_clock.advance(SpeechEngine::kAutoRestartWindowMs);
    QCoreApplication::processEvents();
    EXPECT_EQ(launches(), 5) << "relaunched after a shutdown";
}

} // namespace
