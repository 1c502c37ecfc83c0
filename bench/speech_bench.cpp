// The client's side of a /transcribe round trip with a 10-second recording, and of the same recording
// handed to /stream in the recorder's 20 ms pieces, against a fake engine on its own thread that reads
// the whole upload and answers at once.
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
            bool chunked = false;
            while (socket->waitForReadyRead(2000)) {
                request += socket->readAll();
                const qsizetype head = request.indexOf("\r\n\r\n");
                if (head >= 0 && needed < 0 && !chunked) {
                    chunked = request.first(head).toLower().contains("transfer-encoding: chunked");
                    const qsizetype at = request.toLower().indexOf("content-length:");
                    needed = head + 4 +
                             (at < 0 ? 0
                                     : request.mid(at + 15, request.indexOf('\r', at) - at - 15)
                                           .trimmed()
                                           .toLongLong());
                }
                if (chunked ? request.endsWith("\r\n0\r\n\r\n") : needed >= 0 && request.size() >= needed)
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

// An engine client whose engine has proved it is ours, as nothing is sent to another.
struct ProvenEngine {
    ProvenEngine()
    {
        config.port = engineThread.start(engine.secret());
        engine.poll();
        while (!engine.ready())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    ~ProvenEngine() { engineThread.stop(); }

    SystemClock clock;
    NoKeys keys;
    QuendaConfig config = QuendaConfig::standard();
    SpeechEngine engine{clock, [this] { return config; }, keys, EngineLocations{}};
    FakeEngineThread engineThread;
};

void BM_TranscribeRoundTrip(benchmark::State& state)
{
    ProvenEngine proven;
    SpeechEngine& engine = proven.engine;
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
    if (!ok)
        state.SkipWithError("a round trip failed");
    state.SetBytesProcessed(state.iterations() * wav.size());
}

// The program's cost of handing a 10-second recording over while it is made: 500 pieces of 20 ms, each
// a chunk on the stream's socket, and the end.
void BM_StreamRoundTrip(benchmark::State& state)
{
    ProvenEngine proven;
    SpeechEngine& engine = proven.engine;
    QObject context;
    const QByteArray piece(640, '\x01');
    QByteArray wav =
        "RIFF" + QByteArray(4, '\0') + "WAVEfmt " + QByteArray(20, '\0') + "data" + QByteArray(4, '\0');
    for (int i = 0; i < 500; ++i)
        wav += piece;
    bool ok = true;
    for (auto _ : state) {
        SpeechStream* stream = engine.openStream(QStringLiteral("en"), &context);
        for (int i = 0; i < 500; ++i)
            stream->append(piece);
        bool done = false;
        engine.transcribeStream(stream, wav, QStringLiteral("en"), &context,
                                [&](const EngineResult<Transcript>& result) {
                                    ok = ok && result.ok();
                                    done = true;
                                });
        while (!done)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    if (!ok)
        state.SkipWithError("a stream failed");
    state.SetBytesProcessed(state.iterations() * (wav.size() - 44));
}
// Process CPU counts the client, Qt's HTTP thread and the fake engine; thread CPU only the caller.
BENCHMARK(BM_TranscribeRoundTrip)->Unit(benchmark::kMicrosecond)->UseRealTime()->MeasureProcessCPUTime();
BENCHMARK(BM_TranscribeRoundTrip)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(BM_StreamRoundTrip)->Unit(benchmark::kMicrosecond)->UseRealTime();

} // namespace

int main(int argc, char** argv)
{
    return Bench::run<QCoreApplication>(argc, argv);
}
