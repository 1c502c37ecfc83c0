#pragma once

#include "speech/bundled_engine.h"
#include "core/base/clock.h"
#include "core/config/quenda_config.h"
#include "speech/engine_client.h"
#include "speech/engine_locations.h"
#include "speech/provider_keys.h"

#include <QObject>
#include <QPointer>
#include <QProcess>

#include <functional>
#include <optional>

// The local speech engine: its HTTP client, and the supervisor that sets the engine up, launches
// it, polls its health and turns the answers into the status the rest of the program shows.
// Lives on the main thread; every callback arrives there.
class SpeechEngine final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SpeechEngine)

public:
    template <typename T> using Done = EngineClient::Done<T>;

    static constexpr int kPollIntervalMs = 1000;
    static constexpr int kProbeTimeoutMs = 400;
    static constexpr int kRestartDelayMs = 600;

    SpeechEngine(Clock& clock, const ProviderKeys& keys, EngineLocations locations,
                 QObject* parent = nullptr);
    ~SpeechEngine() override;

    bool ready() const { return m_ready; }
    bool polishAvailable() const { return m_polishAvailable; }
    // Always ready for display: a UI text, the engine's own error text or a system error.
    const QString& statusText() const { return m_statusText; }
    bool statusIsLoading() const { return m_statusIsLoading; }
    // Told after every status change, once the fields hold their new values.
    void setOnUpdate(std::function<void()> onUpdate) { m_onUpdate = std::move(onUpdate); }

    // Requests; `done` runs on this object's thread, later, and never once `context` (not null)
    // is destroyed.
    static std::optional<QUrl> endpoint(const QString& path, qint64 port);
    void prewarm(qint64 port);
    void transcribe(const QByteArray& wav, const QString& language, qint64 port, QObject* context,
                    Done<QString> done);
    void polish(const QString& raw, const std::optional<QString>& selection, const QuendaConfig& config,
                const std::optional<QString>& targetLanguage, bool noteAnswer, QObject* context,
                Done<QString> done);
    void correctionModel(const QString& apiKey, const QString& baseURL, qint64 port, QObject* context,
                         Done<CorrectionModelBody> done);

    // Sets the engine up when its resources changed, else launches it unless one already
    // answers, then polls its health every second.
    void start();
    // Stops polling, asks the engine to quit and terminates the process; a setup run goes on.
    void shutdown();
    // shutdown(), then a fresh launch and polling 0.6 s later; no setup check.
    void restart();
    // One health poll; the watch timer calls it every second.
    void poll();

private:
    enum class StartCause { Launch, SetupSucceeded };

    void start(StartCause cause);
    void runSetup(const BundledEngine& bundled);
    void launch();
    void beginWatching();
    std::optional<HealthBody> healthNow() const;
    void applyHealth(const std::optional<HealthBody>& health);
    void setupFinished(QProcess* process, int exitCode, QProcess::ExitStatus exitStatus);
    void engineFinished(QProcess* process);
    void retire(QProcess* process);
    void setStatus(const QString& text, bool loading);
    void update();

    Clock& m_clock;
    const ProviderKeys& m_keys;
    EngineLocations m_locations;
    EngineClient m_client;

    bool m_ready = false;
    bool m_polishAvailable = false;
    QString m_statusText;
    bool m_statusIsLoading = true;
    std::function<void()> m_onUpdate;
    QPointer<QProcess> m_process;
    QPointer<QProcess> m_setupProcess;
    std::optional<Clock::TimerId> m_pollTimer;
    std::optional<Clock::TimerId> m_relaunch;
    // Raised by shutdown() so that poll answers already on their way are dropped.
    quint64 m_watchGeneration = 0;
};
