#include "fake_engine_server.h"
#include "fake_provider_keys.h"
#include "platform/fake/manual_clock.h"
#include "qstring_printer.h"
#include "speech/speech_engine.h"
#include "support/temp_support_dir.h"

#include "core/base/support_paths.h"
#include "core/text/l10n.h"
#include "core/text/speech_route_text.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSet>
#include <QTcpServer>
#include <QTest>

#include <gtest/gtest.h>

#include <csignal>
#include <memory>

namespace {

using namespace Qt::Literals::StringLiterals;

// The interpreter that setup installs: it records how it was launched and what it was handed,
// writes to its output and then stays silent like an engine still loading, until it is terminated.
const QByteArray kEngineStub =
    "#!/bin/sh\necho \"$0 $* | $(pwd) | $PYTHONUNBUFFERED $HF_HUB_DISABLE_TELEMETRY"
    " | $QUENDA_SUPPORT | $HF_HOME | $HF_HUB_CACHE | $HUGGINGFACE_HUB_CACHE\""
    " >> launches\nenv > environment\ncat > handed\necho engine output\nexec sleep 30\n";
// An engine that notes what it was handed, says it is up, and runs until it is killed, or told by
// SIGTERM to exit with a code of its own.
const QByteArray kEndsWhenTold =
    "#!/bin/sh\ncat >> handed\ntrap 'kill $!; exit 3' TERM\nsleep 30 &\necho $$ >> up\nwait\n";
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
    // Points the configured port at an in-test engine that answers /health with `body`, with the
    // proof of our engine's secret unless it is `foreign`.
    void serveHealth(const QByteArray& body, int status = 200, bool foreign = false)
    {
        m_server = std::make_unique<FakeEngineServer>();
        m_server->script("/health", {status, body});
        if (!foreign)
            m_server->proveWith(engine().secret());
        m_config.port = m_server->port();
    }
    // Takes the configured port with a listener that never answers, so every health request ends
    // at its time-out on the test's clock and each launch comes at a known time.
    void silence()
    {
        ASSERT_TRUE(m_silent.listen(QHostAddress::LocalHost, static_cast<quint16>(m_config.port)));
    }
    // Our engine processes that run or are starting.
    int running()
    {
        const QList<QProcess*> all = processes();
        return static_cast<int>(std::count_if(
            all.begin(), all.end(), [](QProcess* p) { return p->state() != QProcess::NotRunning; }));
    }
    // Ends the running engine, once it is up, with `signal` and waits until the supervisor has seen
    // it end.
    void endEngine(int signal)
    {
        QProcess* current = nullptr;
        ASSERT_TRUE(waitFor([&] {
            const QList<QProcess*> all = processes();
            const auto found = std::find_if(all.begin(), all.end(),
                                            [](QProcess* p) { return p->state() == QProcess::Running; });
            current = found == all.end() ? nullptr : *found;
            return current && readAll(supportFile(u"up"_s))
                                  .split('\n')
                                  .contains(QByteArray::number(current->processId()));
        }));
        ::kill(static_cast<pid_t>(current->processId()), signal);
        ASSERT_TRUE(waitFor([&] { return running() == 0; }));
        QCoreApplication::processEvents();
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
    QTcpServer m_silent;

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
        if (QByteArray(shown).startsWith("engine.ready"))
            return L10n::format(QString::fromLatin1(shown), {SpeechRouteText::of(t.m_config.speechServer())});
        return shown[0] == '=' ? QString::fromUtf8(shown + 1) : text(shown);
    };
}

// A ready engine's status names the recogniser that writes the dictations.
Act polledWithServer(const char* baseURL, const char* shown)
{
    return [=](S& t) {
        t.m_config.speechBaseURL = QString::fromLatin1(baseURL);
        t.m_config.speechModel = u"large-v3"_s;
        polled(R"({"ready":true})", "engine.ready")(t);
        return QString::fromUtf8(shown);
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
    // The status is the engine's alone: a missing key shows as no polishing, never in the status text.
    {"PollReadyOpenAIWithBlankKey", polled(kReady, "engine.ready", "openai", " \n"), true, false, false,
     true},
    {"PollReadyOpenAIWithKey", polled(kReady, "engine.ready", "openai", "sk-1"), true, true, false, true},
    {"PollReadyBuiltIn", polledWithServer(" ", "Ready – built-in recogniser, English only"), true, false,
     false, true},
    {"PollReadySpeechServer",
     polledWithServer("http://10.0.0.5:8080/v1", "Ready – Whisper at 10.0.0.5, large-v3"), true, false, false,
     true},
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
    // The reason the last launch failed is no reason for the next one, which Reload makes.
    {"ReloadAfterAFailedLaunch",
     [](S& t) {
         t.install("#!/nonexistent/sh\n");
         t.engine().start();
         t.waitFor([&] { return t.m_history.size() >= 2; });
         t.install();
         t.engine().restart();
         t.m_clock.advance(SpeechEngine::kRestartDelayMs);
         t.waitFor([&] { return t.m_history.size() >= 4; }); // launched, and its first poll unanswered
         return text("engine.loadingWhisper");
     },
     false, false, true, true},
    // The engine's output is lost, but the engine runs; before, every launch stopped here.
    {"LaunchWithALogThatCannotBeWritten",
     [](S& t) {
         t.install();
         QDir().mkpath(t.supportFile(u"engine.log"_s));
         t.engine().start();
         t.waitFor([&] { return t.m_history.size() >= 2; });
         EXPECT_EQ(t.running(), 1);
         return text("engine.loadingWhisper");
     },
     false, false, true, true},
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
         return L10n::format(u"engine.ready"_s, {SpeechRouteText::of(std::nullopt)});
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
    const QString previous = supportFile(u"engine.previous.log"_s);
    EXPECT_EQ(readAll(previous), "stale output\n") << "the run before left no log";
    m_clock.advance(3 * SpeechEngine::kPollIntervalMs);
    QCoreApplication::processEvents();
    EXPECT_EQ(m_history, QStringList{text("engine.settingUp")}) << "polled during setup";

    writeAll(supportFile(u"go"_s), {});
    ASSERT_TRUE(waitFor([&] { return readAll(log) == "engine output\n"; })) << "the launch kept the log";
    EXPECT_EQ(readAll(previous), setup);
    EXPECT_EQ(engine().statusText(), text("engine.loadingWhisper"));
    EXPECT_EQ(readAll(supportFile(u"launches"_s)),
              u"%1/.venv/bin/python -u -m quenda_engine | %1 | 1 1 | %1 | %2 | %2/hub | %2/hub\n"_s
                  .arg(support, SupportPaths::models())
                  .toUtf8());
    // The secret reaches the engine on its standard input alone, where no other user can read it.
    ASSERT_TRUE(waitFor([&] { return QFile::exists(supportFile(u"handed"_s)); }));
    EXPECT_EQ(readAll(supportFile(u"handed"_s)), engine().secret().handover());
    const QByteArray secret = engine().secret().handover().trimmed();
    EXPECT_FALSE(readAll(supportFile(u"environment"_s)).contains(secret));
    EXPECT_FALSE(readAll(supportFile(u"launches"_s)).contains(secret));
    const qsizetype told = m_history.size();
    EXPECT_TRUE(pollUntil([&] { return m_history.size() > told; })) << "no polling after the launch";
}

struct LeavingRow {
    const char* name;
    bool setupFirst;   // an update: the setup script runs first
    bool leavesBefore; // the listener is gone before the start's probe
};

class ListenerLeaving : public SupervisorTest, public ::testing::WithParamInterface<LeavingRow> {};

// Catches the race after a restart of the program: the engine of the program before still answered
// the new one's first probe, was kept as its engine ("Ready"), then ended with that program, and
// "Speech engine not running" stayed until Reload. Nothing that cannot prove it is ours is kept;
// the launch waits for the port, whichever comes first.
TEST_P(ListenerLeaving, TheEngineIsLaunchedOnceTheOldListenerHasLeftTheirOrderNotwithstanding)
{
    if (GetParam().setupFirst)
        install(kEngineStub, "0.9.0");
    else
        install();
    serveHealth(kReady, 200, true);
    if (GetParam().leavesBefore)
        m_server.reset();
    engine().start();
    if (!GetParam().leavesBefore) {
        const QString taken = L10n::format(u"engine.portTaken"_s, {m_config.port});
        ASSERT_TRUE(waitFor([&] { return m_history.contains(taken); }));
        EXPECT_EQ(running(), 0) << "launched beside the listener";
        m_server.reset();
    }
    ASSERT_TRUE(pollUntil([&] { return running() == 1; })) << "never launched once the port was free";
    EXPECT_TRUE(waitFor([&] { return engine().statusText() == text("engine.loadingWhisper"); }));
    EXPECT_FALSE(m_history.contains(text("engine.ready")));
    EXPECT_FALSE(m_history.contains(text("engine.missing")));
}

const LeavingRow kLeavingRows[] = {
    {"GoneBeforeTheProbe", false, true},
    {"AnswersTheProbeThenLeaves", false, false},
    {"AnswersDuringAnUpdatesSetupThenLeaves", true, false},
};

INSTANTIATE_TEST_SUITE_P(Orders, ListenerLeaving, ::testing::ValuesIn(kLeavingRows),
                         [](const auto& info) { return std::string(info.param.name); });

// Catches a program that adopts whatever answers on its port: another user's engine, or any
// program, would be sent every recording and, with a polish request, the provider keys.
TEST_F(SupervisorTest, AListenerThatCannotProveItIsOursReceivesNoAudioAndNoKey)
{
    install();
    serveHealth(R"({"ready":true,"polish":true})", 200, true);
    m_keys.general = u"sk-general-secret"_s;
    m_keys.byKind.insert(u"chatgpt"_s, u"sk-endpoint-secret"_s);
    m_config.polishProvider = PolishProvider::OpenAI;
    engine().start();
    ASSERT_TRUE(waitFor([&] { return !m_history.isEmpty(); })); // the start's probe answered
    ASSERT_TRUE(pollUntil([&] { return m_history.size() >= 2; }));
    EXPECT_FALSE(engine().ready());

    std::vector<EngineResult<QString>> texts;
    std::optional<EngineResult<CorrectionModelBody>> model;
    QObject context;
    const auto keep = [&](const EngineResult<QString>& result) { texts.push_back(result); };
    engine().transcribe(QByteArray("RIFF") + QByteArray(32'000, '\1'), u"en"_s, &context,
                        [&](const EngineResult<Transcript>& result) {
                            texts.push_back(result.ok() ? EngineResult<QString>(result.value().text)
                                                        : EngineResult<QString>(result.error()));
                        });
    engine().polish(u"raw"_s, u"selected"_s, m_config, u"fr"_s, false, &context, keep);
    engine().correctionModel(u"sk-typed-secret"_s, u"https://llm.local/v1"_s, &context,
                             [&](const EngineResult<CorrectionModelBody>& result) { model = result; });
    engine().prewarm();
    ASSERT_TRUE(waitFor([&] { return texts.size() == 2 && model.has_value(); }));
    for (const EngineError& error : {texts[0].error(), texts[1].error(), model->error()}) {
        EXPECT_EQ(error.kind, EngineError::Kind::Untrusted);
        EXPECT_EQ(error.message, L10n::format(u"engine.portTaken"_s, {m_config.port}));
    }
    ASSERT_TRUE(pollUntil([&] { return m_history.size() >= 4; }));
    EXPECT_EQ(running(), 0);
    engine().shutdown(); // nor is it asked to quit, which only our engine is
    // A request sent after the shutdown, so that one sent with it would have arrived first.
    EngineClient after(m_clock);
    bool answered = false;
    after.health(m_config.port, &context, [&](const EngineResult<HealthBody>&) { answered = true; });
    ASSERT_TRUE(waitFor([&] { return answered; }));
    for (const RecordedRequest& request : m_server->requests()) {
        EXPECT_EQ(request.method + ' ' + request.target, "GET /health");
        EXPECT_FALSE(request.body.contains("secret"));
        for (const QByteArray& value : request.headers)
            EXPECT_FALSE(value.contains("secret")) << value.toStdString();
    }
}

// Catches a Reload that takes the engine it told to stop, still answering for a moment with the
// secret it was given, for its successor: when it ends, nothing would be launched.
TEST_F(SupervisorTest, AfterAReloadTheOldEngineStillAnsweringIsNotTakenForTheNewOne)
{
    install();
    serveHealth(kReady); // proves itself with the secret in force, as our engine would
    engine().start();
    ASSERT_TRUE(waitFor([&] { return engine().ready(); }));
    engine().restart();
    m_clock.advance(SpeechEngine::kRestartDelayMs);
    const QString taken = L10n::format(u"engine.portTaken"_s, {m_config.port});
    ASSERT_TRUE(waitFor([&] { return engine().statusText() == taken; }));
    EXPECT_FALSE(engine().ready());
    m_server.reset();
    EXPECT_TRUE(pollUntil([&] { return running() == 1; })) << "never launched once the old engine ended";
}

// Catches an end counted against an engine that could not have its port because another program
// held it: a few such ends and it would be left stopped although nothing is wrong with it.
TEST_F(SupervisorTest, AnEngineEndingWhileAnotherProgramHoldsItsPortIsLaunchedOnceItIsFree)
{
    install(kEndsWhenTold);
    engine().start();
    ASSERT_TRUE(waitFor([&] { return !m_history.isEmpty(); })); // launched
    serveHealth(kReady, 200, true);
    const QString taken = L10n::format(u"engine.portTaken"_s, {m_config.port});
    ASSERT_TRUE(pollUntil([&] { return engine().statusText() == taken; }));
    endEngine(SIGTERM);
    EXPECT_EQ(engine().statusText(), taken);
    m_server.reset();
    ASSERT_TRUE(pollUntil([&] { return running() == 1; })) << "never launched once the port was free";
}

// Catches trust kept past our engine's end: until an answer proves itself again, whatever takes
// the port next would be sent the next recording.
TEST_F(SupervisorTest, OnceOurEngineHasEndedNothingIsSentUntilAnAnswerProvesItselfAgain)
{
    install(kEndsWhenTold);
    engine().start();
    ASSERT_TRUE(waitFor([&] { return !m_history.isEmpty(); })); // launched
    serveHealth(kReady); // stands in for the engine we launched, with its proof
    ASSERT_TRUE(pollUntil([&] { return engine().ready(); }));
    endEngine(SIGKILL);
    std::optional<EngineResult<Transcript>> text;
    QObject context;
    engine().transcribe(QByteArray("RIFF") + QByteArray(32'000, '\1'), u"en"_s, &context,
                        [&](const EngineResult<Transcript>& result) { text = result; });
    ASSERT_TRUE(waitFor([&] { return text.has_value(); }));
    EXPECT_EQ(text->error().kind, EngineError::Kind::Untrusted);
    for (const RecordedRequest& request : m_server->requests())
        EXPECT_EQ(request.target, "/health");
}

// Catches a program that takes its own engine, slow under load, for a dead one: a /health answer
// that comes after the poll's time-out would refuse every dictation as "not running".
TEST_F(SupervisorTest, AnAnswerLatePastThePollsTimeOutIsNoDeathOfOurEngine)
{
    install(kEndsWhenTold);
    engine().start();
    ASSERT_TRUE(waitFor([&] { return !m_history.isEmpty(); })); // launched
    serveHealth(kReady); // stands in for the engine we launched, with its proof
    ASSERT_TRUE(pollUntil([&] { return engine().ready(); }));
    m_server->script("/health", {.hold = true});
    const qsizetype asked = m_server->requests().size();
    m_clock.advance(SpeechEngine::kPollIntervalMs);
    ASSERT_TRUE(waitFor([&] { return m_server->requests().size() > asked; }));
    const qsizetype told = m_history.size();
    m_clock.advance(EngineClient::kPollTimeoutMs);
    ASSERT_TRUE(waitFor([&] { return m_history.size() > told; }));
    EXPECT_TRUE(engine().ready());
    EXPECT_EQ(engine().statusText(), L10n::format(u"engine.ready"_s, {SpeechRouteText::of(std::nullopt)}));

    m_server->script("/transcribe", {200, R"({"text":"heard"})"});
    std::optional<EngineResult<Transcript>> text;
    QObject context;
    engine().transcribe(QByteArray("RIFF") + QByteArray(32'000, '\1'), u"en"_s, &context,
                        [&](const EngineResult<Transcript>& result) { text = result; });
    ASSERT_TRUE(waitFor([&] { return text.has_value(); }));
    ASSERT_TRUE(text->ok()) << text->error().message.toStdString();
    EXPECT_EQ(text->value().text, u"heard"_s);
}

// Catches an engine that ignores being told to stop and so holds its successor back for ever.
TEST_F(SupervisorTest, AnEngineThatIgnoresTheStopIsKilledAndItsSuccessorLaunched)
{
    // Only the first ignores the stop, from before it says it was launched, so the test's end does
    // not wait for its successor too.
    install("#!/bin/sh\n[ -e launches ] || trap '' TERM\necho launched >> launches\nexec sleep 30\n");
    const auto launches = [&] { return readAll(supportFile(u"launches"_s)).count("launched"); };
    engine().start();
    ASSERT_TRUE(waitFor([&] { return launches() == 1 && running() == 1; }));
    const QString status = u"/proc/%1/status"_s.arg(processes().front()->processId());
    // From the return of kill() until the process is reaped, SIGKILL stays among the signals
    // pending for the whole process, whatever the scheduler does: no wait tells whether it was sent.
    const auto killSent = [&] {
        const QByteArray lines = readAll(status);
        const qsizetype at = lines.indexOf("\nShdPnd:\t");
        return at < 0 || (lines.mid(at + 9, 16).toULongLong(nullptr, 16) & (1U << (SIGKILL - 1)));
    };
    engine().restart();
    m_clock.advance(SpeechEngine::kRestartDelayMs);
    QCoreApplication::processEvents();
    EXPECT_EQ(launches(), 1) << "launched beside the engine that still runs";
    m_clock.advance(SpeechEngine::kTerminateWaitMs - SpeechEngine::kRestartDelayMs - 1);
    EXPECT_FALSE(killSent()) << "killed before its " << SpeechEngine::kTerminateWaitMs << " ms";
    m_clock.advance(1);
    EXPECT_TRUE(killSent()) << "not killed " << SpeechEngine::kTerminateWaitMs << " ms after the stop";
    EXPECT_TRUE(waitFor([&] { return launches() == 2; })) << "the engine that ignored the stop held on";
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
    install();
    serveHealth(kReady); // the port in force moves to an answering engine; the file keeps the old one

    engine().start();
    ASSERT_TRUE(waitFor([&] { return !m_history.isEmpty(); }));
    ASSERT_TRUE(pollUntil([&] { return m_history.size() >= 3; }));
    EXPECT_TRUE(engine().ready()) << "watched the port the file names";
    EXPECT_TRUE(processes().isEmpty());
    engine().shutdown();
    EXPECT_EQ(readAll(file), stored);
}

// Catches two engines started when the user reloads twice within the delay, a successor launched
// while its terminated predecessor still holds the port, and the predecessor's late exit marking
// the running successor "stopped".
TEST_F(SupervisorTest, RestartsWithinTheDelayLaunchOneSuccessorOnceThePredecessorHasEnded)
{
    // The engine takes a moment to stop, as the real one does.
    install("#!/bin/sh\necho launched >> launches\ntrap 'sleep 0.3; echo ended >> launches; exit 0' TERM\n"
            "sleep 30 &\nwait\n");
    const auto launches = [&] { return readAll(supportFile(u"launches"_s)); };
    engine().start();
    ASSERT_TRUE(waitFor([&] { return launches() == "launched\n"; }));
    engine().restart();
    m_clock.advance(SpeechEngine::kRestartDelayMs / 2);
    engine().restart();
    m_clock.advance(SpeechEngine::kRestartDelayMs);
    ASSERT_TRUE(waitFor([&] { return launches().count("launched") == 2; })) << "no successor";
    EXPECT_EQ(launches(), "launched\nended\nlaunched\n") << "the successor came while the predecessor ran";
    EXPECT_EQ(running(), 1);
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

struct EndsRow {
    const char* name;
    // When each engine ends, counted from the first end; each comes after the relaunch before it.
    std::vector<qint64> endsAtMs;
    int signal; // SIGKILL kills it; SIGTERM has it exit with a code of its own
    // After the last end, how long until it is launched again; none: it is left stopped.
    std::optional<int> relaunchMs;
};

class EngineEnds : public SupervisorTest, public ::testing::WithParamInterface<EndsRow> {};

// Catches an engine that is left dead until the user finds Reload, one relaunched sooner than the
// back-off or without end, a count that never forgets an end or forgets it too soon, and a message
// that names another count than the rule's.
TEST_P(EngineEnds, AnEngineEndingOnItsOwnIsLaunchedAgainUntilItsFourthEndInTenMinutes)
{
    install(kEndsWhenTold);
    silence(); // each launch then comes when the probe before it times out
    engine().start();
    m_clock.advance(EngineClient::kPollTimeoutMs);
    ASSERT_EQ(running(), 1);
    qint64 firstEnd = 0;
    for (std::size_t i = 0; i < GetParam().endsAtMs.size(); ++i) {
        if (i == 0) {
            firstEnd = m_clock.elapsedMs();
        } else {
            for (int step = 0; step < 300 && running() == 0; ++step)
                m_clock.advance(100);
            ASSERT_EQ(running(), 1) << "end " << i << " was never followed by a launch";
            ASSERT_LE(m_clock.elapsedMs(), firstEnd + GetParam().endsAtMs[i]);
            m_clock.advance(firstEnd + GetParam().endsAtMs[i] - m_clock.elapsedMs());
        }
        endEngine(GetParam().signal);
    }
    if (const auto delayMs = GetParam().relaunchMs) {
        EXPECT_EQ(engine().statusText(), text("engine.stopped"));
        // The launch follows the probe's time-out after the delay.
        m_clock.advance(*delayMs + EngineClient::kPollTimeoutMs - 1);
        EXPECT_EQ(running(), 0) << "launched again sooner than " << *delayMs << " ms";
        m_clock.advance(1);
        EXPECT_EQ(running(), 1) << "not launched again " << *delayMs << " ms after its end";
        // Each launch is handed a secret of its own.
        const auto handed = [&] { return readAll(supportFile(u"handed"_s)).split('\n'); };
        ASSERT_TRUE(waitFor([&] { return handed().size() == qsizetype(GetParam().endsAtMs.size()) + 2; }));
        const QList<QByteArray> secrets = handed();
        EXPECT_EQ(QSet<QByteArray>(secrets.begin(), secrets.end()).size(), secrets.size());
    } else {
        EXPECT_EQ(engine().statusText(), L10n::format(u"engine.stoppedRepeatedly"_s, {4, 10}));
        m_clock.advance(SpeechEngine::kEndWindowMs);
        EXPECT_EQ(running(), 0) << "launched again after the fourth end";
    }
}

// clang-format off
const EndsRow kEndsRows[] = {
    {.name = "FirstEndRelaunchesAfterOneSecond", .endsAtMs = {0}, .signal = SIGKILL, .relaunchMs = 1'000},
    {.name = "ExitWithACodeRelaunchesTheSame", .endsAtMs = {0}, .signal = SIGTERM, .relaunchMs = 1'000},
    {.name = "SecondEndAfterFourSeconds", .endsAtMs = {0, 2'000}, .signal = SIGKILL, .relaunchMs = 4'000},
    {.name = "ThirdEndAfterSixteenSeconds", .endsAtMs = {0, 2'000, 7'000}, .signal = SIGTERM, .relaunchMs = 16'000},
    {.name = "FourthEndGivesUp", .endsAtMs = {0, 2'000, 7'000, 24'000}, .signal = SIGKILL, .relaunchMs = std::nullopt},
    {.name = "FourthEndByExitCodeGivesUp", .endsAtMs = {0, 2'000, 7'000, 24'000}, .signal = SIGTERM, .relaunchMs = std::nullopt},
    {.name = "AnEndTenMinutesOldIsForgotten", .endsAtMs = {0, 2'000, 7'000, 600'000}, .signal = SIGKILL, .relaunchMs = 16'000},
    {.name = "AnEndJustUnderTenMinutesOldCounts", .endsAtMs = {0, 2'000, 7'000, 599'999}, .signal = SIGKILL, .relaunchMs = std::nullopt},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(Ends, EngineEnds, ::testing::ValuesIn(kEndsRows),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(SupervisorTest, ReloadStartsTheCountOfEndsAgain)
{
    install(kEndsWhenTold);
    silence();
    engine().start();
    m_clock.advance(EngineClient::kPollTimeoutMs);
    for (const int delayMs : {1'000, 4'000, 16'000, 0}) {
        endEngine(SIGKILL);
        m_clock.advance(delayMs + EngineClient::kPollTimeoutMs);
    }
    ASSERT_EQ(running(), 0);
    engine().restart();
    m_clock.advance(SpeechEngine::kRestartDelayMs + EngineClient::kPollTimeoutMs);
    ASSERT_EQ(running(), 1);
    endEngine(SIGKILL);
    m_clock.advance(1'000 + EngineClient::kPollTimeoutMs);
    EXPECT_EQ(running(), 1) << "the ends before the reload still counted";
}

struct CancelRow {
    const char* name;
    std::function<void(S&)> leaveWaiting; // leaves a launch waiting on the clock
    std::function<void(SpeechEngine&)> stop;
    int launches; // engines running once the clock has run far past every wait
};

class WhatStopsCancel : public SupervisorTest, public ::testing::WithParamInterface<CancelRow> {};

// Catches a launch still on its way when the program quits or the user reloads: a late probe
// answer or a pending relaunch would start an engine nobody wants, or a second one beside the next.
TEST_P(WhatStopsCancel, NoLaunchOnItsWayOutlivesAShutdownAndAReloadLaunchesOne)
{
    install(kEndsWhenTold);
    silence();
    GetParam().leaveWaiting(*this);
    ASSERT_EQ(running(), 0);
    GetParam().stop(engine());
    m_clock.advance(SpeechEngine::kEndWindowMs);
    EXPECT_EQ(running(), GetParam().launches);
}

const auto kProbing = [](S& t) { t.engine().start(); };
const auto kRelaunchPending = [](S& t) {
    t.engine().start();
    t.m_clock.advance(EngineClient::kPollTimeoutMs);
    t.endEngine(SIGKILL);
};
const auto kShutdown = [](SpeechEngine& e) { e.shutdown(); };
const auto kReload = [](SpeechEngine& e) { e.restart(); };

const CancelRow kCancelRows[] = {
    {"ShutdownWhileTheStartProbes", kProbing, kShutdown, 0},
    {"ShutdownWithARelaunchPending", kRelaunchPending, kShutdown, 0},
    {"ReloadWhileTheStartProbes", kProbing, kReload, 1},
    {"ReloadWithARelaunchPending", kRelaunchPending, kReload, 1},
};

INSTANTIATE_TEST_SUITE_P(Stops, WhatStopsCancel, ::testing::ValuesIn(kCancelRows),
                         [](const auto& info) { return std::string(info.param.name); });

struct ProgramEndRow {
    const char* name;
    QByteArray command; // written to the program's standard input once its engine runs
};

class ProgramEnd : public SupervisorTest, public ::testing::WithParamInterface<ProgramEndRow> {};

// Catches an engine that outlives the program that started it: killed, or ended by Qt itself when
// the X server goes away, the program runs no orderly stop, and the engine would keep the port and
// the microphone's words for nobody. The stand-in engine does nothing to end on its own.
TEST_P(ProgramEnd, TheEngineEndsWithTheProgramHoweverItEnds)
{
    install("#!/bin/sh\necho $$ > pid.tmp\nmv pid.tmp pid\nexec sleep 30\n");
    QProcess program;
    program.start(QCoreApplication::applicationDirPath() + u"/engine_parent"_s,
                  {root(), QString::number(m_config.port)});
    ASSERT_TRUE(waitFor([&] { return QFile::exists(supportFile(u"pid"_s)); }));
    const QString proc = u"/proc/"_s + QString::fromLatin1(readAll(supportFile(u"pid"_s)).trimmed());
    // Ended but not yet reaped by its new parent counts as gone.
    const auto gone = [&] {
        const QByteArray stat = readAll(proc + u"/stat"_s);
        return stat.isEmpty() || stat.mid(stat.lastIndexOf(')') + 2, 1) == "Z";
    };
    ASSERT_FALSE(gone());
    if (GetParam().command.isEmpty())
        program.kill();
    else
        program.write(GetParam().command);
    ASSERT_TRUE(program.waitForFinished(8000));
    EXPECT_TRUE(waitFor(gone)) << "the engine outlived its program";
}

const ProgramEndRow kProgramEndRows[] = {
    {"KilledBySigkill", {}},
    {"EndedByExitWithoutItsOrderlyStop", "exit\n"},
};

INSTANTIATE_TEST_SUITE_P(Ends, ProgramEnd, ::testing::ValuesIn(kProgramEndRows),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
