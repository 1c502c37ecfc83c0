#pragma once

#include "core/base/clock.h"
#include "core/config/quenda_config.h"
#include "speech/bundled_engine.h"
#include "speech/engine_client.h"
#include "speech/engine_control.h"
#include "speech/engine_locations.h"
#include "speech/provider_keys.h"
#include "speech/speech_service.h"

#include <QObject>
#include <QPointer>
#include <QProcess>

#include <functional>
#include <optional>

// The local speech engine: its HTTP client, and the supervisor that sets the engine up, launches
// it, polls its health and turns the answers into the status the rest of the program shows.
// Only the engine it launched last is trusted: that engine was handed a new secret, and each
// health answer must prove it knows it. Nothing else on the port is ever sent audio or keys, nor
// taken for the engine; a launch waits until the port is free. Lives on the main thread; every
// callback arrives there, and nothing in it waits.
class SpeechEngine final : public QObject, public SpeechService, public EngineControl {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SpeechEngine)

public:
    template <typename T> using Done = EngineClient::Done<T>;
    // The configuration in force, asked at every poll; it must answer from memory (the app binds
    // it to AppState::config()).
    using CurrentConfig = std::function<QuendaConfig()>;

    static constexpr int kPollIntervalMs = 1000;
    static constexpr int kRestartDelayMs = 600;
    // An engine that ended on its own is launched again after 1, 4 and 16 s, by the number of its
    // ends within the last ten minutes; the fourth end within ten minutes leaves it for the user to
    // reload. Older ends are forgotten.
    static constexpr int kRelaunchLimit = 3;
    static constexpr qint64 kEndWindowMs = 10 * 60 * 1000;
    static constexpr int kFirstRelaunchDelayMs = 1000;
    // How long an engine told to stop has before it is killed.
    static constexpr int kTerminateWaitMs = 3000;

    // `keys` must answer from memory too (a ProviderKeySnapshot in the app).
    SpeechEngine(Clock& clock, CurrentConfig config, const ProviderKeys& keys, EngineLocations locations,
                 QObject* parent = nullptr);
    ~SpeechEngine() override;

    bool ready() const override { return m_ready; }
    bool polishAvailable() const override { return m_polishAvailable; }
    const QString& statusText() const override { return m_statusText; }
    bool statusIsLoading() const override { return m_statusIsLoading; }

    // Requests go to the configured port, and only while the last answer there proved it came from
    // our engine; else they fail as Untrusted without being sent. `done` runs on this object's
    // thread, later, and never once `context` (not null) is destroyed. Destroying the context
    // cancels: the HTTP request is aborted.
    void prewarm() override;
    void transcribe(const QByteArray& wav, const QString& language, QObject* context,
                    Done<Transcript> done) override;
    SpeechStream* openStream(const QString& language, QObject* parent) override;
    void transcribeStream(SpeechStream* stream, const QByteArray& wav, const QString& language,
                          QObject* context, Done<Transcript> done) override;
    void polish(const QString& raw, const std::optional<QString>& selection, const QuendaConfig& config,
                const std::optional<QString>& targetLanguage, bool noteAnswer, QObject* context,
                Done<QString> done) override;
    void correctionModel(const QString& apiKey, const QString& baseURL, QObject* context,
                         Done<CorrectionModelBody> done) override;
    void checkSpeechServer(QObject* context, Done<QString> done) override;

    // Sets the engine up when its resources changed, else launches it once the port is free, then
    // polls its health every second. Returns at once; the outcome is reported.
    void start() override;
    // Stops polling, asks our engine to quit and terminates it; a setup run goes on.
    void shutdown() override;
    // shutdown(), then a fresh launch and polling 0.6 s later, once the old engine has ended; no
    // setup check. Counts as the user's reload: the count of ends starts again.
    void restart() override;
    // One health poll; the watch timer calls it every second.
    void poll();
    // What the engine launched last was handed; an engine a test stands in with proves itself
    // with it.
    const EngineSecret& secret() const { return m_client.secret(); }

signals:
    // After every report of the supervisor (each health answer, launch, exit and setup step), once
    // the fields hold their values; a report may repeat the values it had.
    void statusChanged();

private:
    enum class StartCause { Launch, SetupSucceeded };

    qint64 port() const;
    void start(StartCause cause);
    void runSetup(const BundledEngine& bundled);
    void setupSettled(QProcess* process, bool started);
    // Launches once our previous engine has ended and nothing answers on the port; while something
    // else answers there, it shows so and the first poll without an answer launches.
    void launchWhenFree();
    void launch();
    void launchSettled(QProcess* process, bool started);
    void beginWatching();
    void stopWatching();
    void applyHealth(const EngineResult<HealthBody>& health);
    void applyProvenHealth(const HealthBody& health);
    // Nothing answered, for `why`: the port is free, or our engine is still starting or has ended.
    // Tells whether that launched the engine.
    bool applySilence(EngineError::Kind why);
    void setupFinished(QProcess* process, int exitCode, QProcess::ExitStatus exitStatus);
    void engineFinished(QProcess* process);
    // Launches an engine that ended on its own again, unless it ended too often lately.
    void relaunchAfterEnd();
    QString gaveUpText() const;
    // Our engine told to stop but still running, which holds the port until it has ended.
    QProcess* runningPredecessor() const;
    void retire(QProcess* process);
    // The error a request gets instead of going out; none while our engine is trusted.
    std::optional<EngineError> refusal() const;
    template <typename T> void failLater(QObject* context, const Done<T>& done, const EngineError& error);
    void setStatus(const QString& text, bool loading);
    void update();

    Clock& m_clock;
    CurrentConfig m_config;
    const ProviderKeys& m_keys;
    EngineLocations m_locations;
    EngineClient m_client;

    bool m_ready = false;
    bool m_polishAvailable = false;
    QString m_statusText;
    bool m_statusIsLoading = true;
    QPointer<QProcess> m_process;
    QPointer<QProcess> m_setupProcess;
    // A launch waits for our previous engine to end or for the probe of the port.
    bool m_launchPending = false;
    // The last answer on the port proved it came from our engine, which has not ended since.
    bool m_trusted = false;
    // The last answer on the port came from something else: launching waits until it is gone.
    bool m_portTaken = false;
    // The last launch failed, so polls without an answer keep its error.
    bool m_launchFailed = false;
    Clock::Timer m_pollTimer;
    Clock::Timer m_relaunch;
    // When the engine ended on its own, within the window.
    QList<qint64> m_ends;
    // Raised when watching stops and at each launch, so that answers already on their way are dropped.
    quint64 m_watchGeneration = 0;
};
