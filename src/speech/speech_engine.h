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
// Lives on the main thread; every callback arrives there, and nothing in it waits.
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
    // An engine that ended on its own is launched again after 1, 4 and 16 s; a fourth end within
    // ten minutes of the first of those is left for the user to reload.
    static constexpr int kAutoRestartLimit = 3;
    static constexpr qint64 kAutoRestartWindowMs = 10 * 60 * 1000;
    static constexpr int kAutoRestartFirstDelayMs = 1000;

    // `keys` must answer from memory too (a ProviderKeySnapshot in the app).
    SpeechEngine(Clock& clock, CurrentConfig config, const ProviderKeys& keys, EngineLocations locations,
                 QObject* parent = nullptr);
    ~SpeechEngine() override;

    bool ready() const override { return m_ready; }
    bool polishAvailable() const override { return m_polishAvailable; }
    const QString& statusText() const override { return m_statusText; }
    bool statusIsLoading() const override { return m_statusIsLoading; }

    // Requests go to the configured port; `done` runs on this object's thread, later, and never
    // once `context` (not null) is destroyed. Destroying the context cancels: the HTTP request is
    // aborted.
    void prewarm() override;
    void transcribe(const QByteArray& wav, const QString& language, QObject* context,
                    Done<Transcript> done) override;
    void polish(const QString& raw, const std::optional<QString>& selection, const QuendaConfig& config,
                const std::optional<QString>& targetLanguage, bool noteAnswer, QObject* context,
                Done<QString> done) override;
    void correctionModel(const QString& apiKey, const QString& baseURL, QObject* context,
                         Done<CorrectionModelBody> done) override;

    // Sets the engine up when its resources changed, else launches it unless one already
    // answers, then polls its health every second. Returns at once; the outcome is reported.
    void start() override;
    // Stops polling, asks the engine to quit and terminates the process; a setup run goes on.
    void shutdown() override;
    // shutdown(), then a fresh launch and polling 0.6 s later; no setup check. Counts as the user's
    // reload: the engine may again be launched anew after ending on its own.
    void restart() override;
    // One health poll; the watch timer calls it every second.
    void poll();

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
    void launch();
    void launchSettled(QProcess* process, bool started);
    void beginWatching();
    void stopWatching();
    void applyHealth(const std::optional<HealthBody>& health);
    void setupFinished(QProcess* process, int exitCode, QProcess::ExitStatus exitStatus);
    void engineFinished(QProcess* process);
    // Launches an engine that ended on its own again, unless it ended too often lately.
    void relaunchAfterEnd();
    void retire(QProcess* process);
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
    // A start is waiting to learn whether an engine already answers.
    bool m_probing = false;
    // A launch failed and nothing has answered since, so polls without an answer keep its error.
    bool m_launchFailed = false;
    Clock::Timer m_pollTimer;
    Clock::Timer m_relaunch;
    // When the engine was last launched again after ending on its own, within the window.
    QList<qint64> m_autoRestarts;
    // Raised when watching stops, so that health answers already on their way are dropped.
    quint64 m_watchGeneration = 0;
};
