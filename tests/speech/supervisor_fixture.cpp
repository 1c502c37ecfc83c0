#include "supervisor_fixture.h"

#include "core/l10n.h"
#include "core/support_paths.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QTcpServer>
#include <QTest>

namespace {

const QByteArray kFakeEngine = R"(import json, os, sys, threading, time
from http.server import BaseHTTPRequestHandler, HTTPServer

support = os.environ.get("QUENDA_SUPPORT") or os.getcwd()

def text(name, default):
    try:
        with open(os.path.join(support, name), encoding="utf-8") as f:
            return f.read()
    except OSError:
        return default

port = json.loads(text("config.json", "{}")).get("port", 17321)
names = ("PYTHONUNBUFFERED", "HF_HUB_DISABLE_TELEMETRY", "QUENDA_SUPPORT", "HF_HOME", "HF_HUB_CACHE",
         "HUGGINGFACE_HUB_CACHE")
with open(os.path.join(support, "launches.log"), "a", encoding="utf-8") as f:
    f.write(json.dumps({"pid": os.getpid(), "argv": sys.orig_argv, "cwd": os.getcwd(),
                        "env": {n: os.environ.get(n) for n in names}}) + "\n")

class Handler(BaseHTTPRequestHandler):
    def do_GET(self):
        body = text("fake-health.json", '{"ready": true}').encode()
        self.send_response(200)
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)

    def do_POST(self):
        self.send_response(200)
        self.send_header("Content-Length", "0")
        self.end_headers()
        if self.path == "/shutdown":
            threading.Thread(target=server.shutdown).start()

    def log_message(self, *args):
        pass

# A predecessor may still hold the port for a moment after it was told to stop.
for attempt in range(100):
    try:
        server = HTTPServer(("127.0.0.1", port), Handler)
        break
    except OSError:
        time.sleep(0.05)
else:
    sys.exit(1)
print("fake engine serving on", port)
server.serve_forever()
)";

quint16 freePort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return probe.serverPort();
}

void writeFile(const QString& path, const QByteArray& bytes, bool executable = false)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    file.write(bytes);
    if (executable)
        file.setPermissions(file.permissions() | QFileDevice::ExeOwner);
}

} // namespace

void SupervisorTest::SetUp()
{
    TempSupportDir::SetUp();
    ASSERT_TRUE(m_resources.isValid());
    m_config = QuendaConfig::standard();
    m_config.port = freePort();
    // "local" stays only while a local model is there.
    m_config.polishProvider = QStringLiteral("local");
    m_config.modelPath = supportFile(QStringLiteral("model"));
    writeFile(supportFile(QStringLiteral("model/config.json")), "{}");
    ASSERT_TRUE(m_config.save());
    writeFile(resourceFile(QStringLiteral("engine/quenda_engine/__main__.py")), kFakeEngine);
    writeFile(resourceFile(QStringLiteral("engine.version")), "1.0.0\n");
    writeSetupScript(QByteArray(kRecordSetup) + kInstall);
}

void SupervisorTest::TearDown()
{
    m_engine.reset();
    TempSupportDir::TearDown();
}

SpeechEngine& SupervisorTest::engine()
{
    if (!m_engine)
        makeEngine({m_resources.path()});
    return *m_engine;
}

void SupervisorTest::makeEngine(const EngineLocations& locations)
{
    m_engine = std::make_unique<SpeechEngine>(m_clock, m_keys, locations);
    m_engine->setOnUpdate([this] {
        ++m_updates;
        m_history << m_engine->statusText();
    });
}

QString SupervisorTest::resourceFile(const QString& name) const
{
    return QDir(m_resources.path()).filePath(name);
}

void SupervisorTest::writeSetupScript(const QByteArray& body)
{
    writeFile(resourceFile(QStringLiteral("setup_engine.sh")), "set -e\n" + body);
}

void SupervisorTest::installEnvironment(const QByteArray& version)
{
    QDir().mkpath(supportFile(QStringLiteral(".venv/bin")));
    ASSERT_TRUE(
        QFile::link(QStringLiteral("/usr/bin/python3"), supportFile(QStringLiteral(".venv/bin/python"))));
    writeFile(supportFile(QStringLiteral("quenda_engine/__main__.py")), kFakeEngine);
    writeFile(supportFile(QStringLiteral("engine.version")), version);
}

void SupervisorTest::writeInterpreter(const QByteArray& script)
{
    writeFile(supportFile(QStringLiteral(".venv/bin/python")), script, true);
}

QList<QJsonObject> SupervisorTest::launches() const
{
    QList<QJsonObject> list;
    for (const QByteArray& line : readAll(supportFile(QStringLiteral("launches.log"))).split('\n')) {
        if (!line.isEmpty())
            list << QJsonDocument::fromJson(line).object();
    }
    return list;
}

int SupervisorTest::setupRuns() const
{
    return static_cast<int>(readAll(supportFile(QStringLiteral("setup-runs"))).count('\n'));
}

QList<QProcess*> SupervisorTest::processes()
{
    return engine().findChildren<QProcess*>();
}

bool SupervisorTest::pollUntil(const std::function<bool()>& done)
{
    const QDeadlineTimer deadline(10'000);
    while (!done() && !deadline.hasExpired()) {
        m_clock.advance(SpeechEngine::kPollIntervalMs);
        // Counted after the tick: a poll it timed out reports at once, but the new poll's
        // answer is the one to wait for.
        const int before = m_updates;
        if (!QTest::qWaitFor([&] { return m_updates > before; }, 2000))
            return false;
    }
    return done();
}

bool SupervisorTest::waitFor(const std::function<bool()>& done, int ms)
{
    return QTest::qWaitFor(done, ms);
}

QString SupervisorTest::text(const char* key)
{
    return L10n::s(QString::fromLatin1(key));
}

bool SupervisorTest::isReady()
{
    return engine().ready() && engine().statusText() == text("engine.ready");
}
