// The client's side of a /transcribe round trip with a 10-second recording, against a fake engine
// on its own thread that reads the whole upload and answers at once.
#include "bench_main.h"
#include "core/base/system_clock.h"
#include "speech/speech_engine.h"

#include <QCoreApplication>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>

#include <benchmark/benchmark.h>

#include <future>

namespace {

class NoKeys final : public ProviderKeys {
public:
    QString generalKey() const override { return {}; }
    QString key(const CorrectionEndpoint&) const override { return {}; }
    QString speechKey() const override { return {}; }
};

// Serves one request per connection with blocking socket calls, off the client's thread; proves
// itself with `secret` as our engine does.
class FakeEngineThread final : public QThread {
public:
    quint16 start(const EngineSecret& secret)
    {
        m_secret = secret;
        QThread::start();
        return m_port.get_future().get();
    }
    void stop()
    {
        m_stop = true;
        wait();
    }

protected:
    void run() override
    {
        QTcpServer server;
        server.listen(QHostAddress::LocalHost, 0);
        m_port.set_value(server.serverPort());
        const QByteArray reply = "HTTP/1.1 200 OK\r\nContent-Type: application/json\r\nContent-Length: 31\r\n"
                                 "Connection: close\r\n\r\n{\"text\":\"Hallo Welt\",\"lang\":\"\"}";
        const QByteArray health = "HTTP/1.1 200 OK\r\nContent-Length: 14\r\nConnection: close\r\n";
        while (!m_stop) {
            if (!server.waitForNewConnection(50))
                continue;
            std::unique_ptr<QTcpSocket> socket(server.nextPendingConnection());
            QByteArray request;
            qsizetype needed = -1;
            while (socket->waitForReadyRead(2000)) {
                request += socket->readAll();
                const qsizetype head = request.indexOf("\r\n\r\n");
                if (head >= 0 && needed < 0) {
                    const qsizetype at = request.toLower().indexOf("content-length:");
                    needed = head + 4 +
                             (at < 0 ? 0
                                     : request.mid(at + 15, request.indexOf('\r', at) - at - 15)
                                           .trimmed()
                                           .toLongLong());
                }
                if (needed >= 0 && request.size() >= needed)
                    break;
            }
            const QByteArray lower = request.toLower();
            if (request.startsWith("GET /health")) {
                const qsizetype at = lower.indexOf("quenda-challenge:") + 17;
                const QByteArray challenge = request.mid(at, request.indexOf('\r', at) - at).trimmed();
                socket->write(health + "Quenda-Proof: " + m_secret.proof(challenge) +
                              "\r\n\r\n{\"ready\":true}");
            } else {
                socket->write(reply);
            }
            socket->waitForBytesWritten(2000);
            socket->disconnectFromHost();
        }
    }

private:
    std::promise<quint16> m_port;
    std::atomic_bool m_stop = false;
    EngineSecret m_secret;
};

void BM_TranscribeRoundTrip(benchmark::State& state)
{
    SystemClock clock;
    NoKeys keys;
    QuendaConfig config = QuendaConfig::standard();
    SpeechEngine engine(
        clock, [&config] { return config; }, keys, EngineLocations{});
    FakeEngineThread engineThread;
    config.port = engineThread.start(engine.secret());
    // Nothing is sent to an engine before it has proved it is ours.
    engine.poll();
    while (!engine.ready())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    QObject context;
    QByteArray wav("RIFF....WAVEfmt ");
    wav += QByteArray(16000 * 2 * 10 + 28, '\x01');
    bool ok = true;
    for (auto _ : state) {
        bool done = false;
        engine.transcribe(wav, QStringLiteral("de"), &context, [&](const EngineResult<Transcript>& result) {
            ok = ok && result.ok();
            done = true;
        });
        while (!done)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    engineThread.stop();
    if (!ok)
        state.SkipWithError("a round trip failed");
    state.SetBytesProcessed(state.iterations() * wav.size());
}
// Process CPU counts the client, Qt's HTTP thread and the fake engine; thread CPU only the caller.
BENCHMARK(BM_TranscribeRoundTrip)->Unit(benchmark::kMicrosecond)->UseRealTime()->MeasureProcessCPUTime();
BENCHMARK(BM_TranscribeRoundTrip)->Unit(benchmark::kMicrosecond)->UseRealTime();

} // namespace

int main(int argc, char** argv)
{
    return Bench::run<QCoreApplication>(argc, argv);
}
