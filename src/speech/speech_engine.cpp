#include "speech/speech_engine.h"

#include "core/base/support_paths.h"
#include "core/text/l10n.h"
#include "speech/polish_request.h"

#include <QFile>
#include <QProcessEnvironment>

namespace {

// Only the destructor waits, for a killed child to be reaped.
constexpr int kKillWaitMs = 5000;
// The engine's server notices a stop within half a second.
constexpr int kTerminateWaitMs = 3000;

QString logPath()
{
    return SupportPaths::file(QStringLiteral("engine.log"));
}

// Empties "engine.log" so it holds the output since the last setup run or launch.
bool emptyLog()
{
    QFile log(logPath());
    return log.open(QIODevice::WriteOnly | QIODevice::Truncate);
}

void routeOutputToLog(QProcess& process)
{
    process.setStandardOutputFile(logPath(), QIODevice::Append);
    process.setStandardErrorFile(logPath(), QIODevice::Append);
}

QProcessEnvironment engineEnvironment()
{
    const QString models = SupportPaths::models();
    const QString hub = models + QStringLiteral("/hub");
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("PYTHONUNBUFFERED"), QStringLiteral("1"));
    env.insert(QStringLiteral("HF_HUB_DISABLE_TELEMETRY"), QStringLiteral("1"));
    env.insert(QStringLiteral("QUENDA_SUPPORT"), SupportPaths::directory());
    env.insert(QStringLiteral("HF_HOME"), models);
    env.insert(QStringLiteral("HF_HUB_CACHE"), hub);
    env.insert(QStringLiteral("HUGGINGFACE_HUB_CACHE"), hub);
    return env;
}

} // namespace

SpeechEngine::SpeechEngine(Clock& clock, CurrentConfig config, const ProviderKeys& keys,
                           EngineLocations locations, QObject* parent)
    : QObject(parent)
    , m_clock(clock)
    , m_config(std::move(config))
    , m_keys(keys)
    , m_locations(std::move(locations))
    , m_client(clock)
    , m_statusText(L10n::s("engine.loadingWhisper"))
{
}

SpeechEngine::~SpeechEngine()
{
    // A running child would be killed by its own destructor anyway, with a warning; do it quietly
    // and without reporting the exit to an object that is going away. The /shutdown request of a
    // quit is never sent once the event loop has ended, so the engine is asked once more by SIGTERM,
    // which it answers with an orderly stop, before it is killed.
    const auto processes = findChildren<QProcess*>(Qt::FindDirectChildrenOnly);
    for (QProcess* process : processes) {
        process->disconnect(this);
        if (process->state() != QProcess::NotRunning) {
            process->terminate();
            if (!process->waitForFinished(kTerminateWaitMs)) {
                process->kill();
                process->waitForFinished(kKillWaitMs);
            }
        }
    }
}

void SpeechEngine::prewarm()
{
    m_client.prewarm(port());
}

void SpeechEngine::transcribe(const QByteArray& wav, const QString& language, QObject* context,
                              Done<QString> done)
{
    m_client.transcribe(wav, language, port(), context, std::move(done));
}

void SpeechEngine::polish(const QString& raw, const std::optional<QString>& selection,
                          const QuendaConfig& config, const std::optional<QString>& targetLanguage,
                          bool noteAnswer, QObject* context, Done<QString> done)
{
    const PolishBody body = PolishRequest::build(raw, selection, config, targetLanguage, noteAnswer, m_keys);
    m_client.polish(body, port(), context, std::move(done));
}

void SpeechEngine::correctionModel(const QString& apiKey, const QString& baseURL, QObject* context,
                                   Done<CorrectionModelBody> done)
{
    m_client.correctionModel({apiKey, baseURL}, port(), context, std::move(done));
}

qint64 SpeechEngine::port() const
{
    return m_config().port;
}

void SpeechEngine::start()
{
    start(StartCause::Launch);
}

void SpeechEngine::start(StartCause cause)
{
    if (m_setupProcess || m_probing)
        return;
    if (const auto bundled = BundledEngine::find(m_locations.resourceDir); bundled && bundled->needsSetup()) {
        if (cause == StartCause::SetupSucceeded) {
            // The script claimed success but left no matching environment; running it again
            // would loop for ever, emptying the log that explains why.
            setStatus(L10n::s("engine.setupFailed"), false);
            update();
            return;
        }
        runSetup(*bundled);
        return;
    }
    if (m_process) {
        beginWatching();
        return;
    }
    // An engine that already answers is kept: a second one could not take its port.
    m_probing = true;
    const quint64 generation = m_watchGeneration;
    m_client.health(port(), this, [this, generation](const EngineResult<HealthBody>& health) {
        if (generation != m_watchGeneration)
            return;
        m_probing = false;
        if (health.ok() || m_process)
            beginWatching();
        else
            launch();
    });
}

void SpeechEngine::runSetup(const BundledEngine& bundled)
{
    // An engine of the old installation must not keep running, nor answer for the new one after.
    stopWatching();
    auto* process = new QProcess(this);
    process->setProgram(m_locations.shell);
    process->setArguments({bundled.script, bundled.source, SupportPaths::directory(), bundled.version});
    if (emptyLog()) {
        routeOutputToLog(*process);
    } else {
        process->setStandardOutputFile(QProcess::nullDevice());
        process->setStandardErrorFile(QProcess::nullDevice());
    }
    connect(process, &QProcess::started, this, [this, process] { setupSettled(process, true); });
    connect(process, &QProcess::errorOccurred, this, [this, process](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            setupSettled(process, false);
    });
    connect(process, &QProcess::finished, this,
            [this, process](int exitCode, QProcess::ExitStatus exitStatus) {
                setupFinished(process, exitCode, exitStatus);
            });
    // Held at once, so a start() meanwhile does nothing; run once the old engine was asked to quit.
    m_setupProcess = process;
    m_ready = false;
    m_client.requestShutdown(port(), process, [process] { process->start(); });
}

void SpeechEngine::setupSettled(QProcess* process, bool started)
{
    if (process != m_setupProcess)
        return;
    if (started) {
        setStatus(L10n::s("engine.settingUp"), true);
    } else {
        m_setupProcess = nullptr;
        setStatus(L10n::format(QStringLiteral("engine.setupFailedDetail"), {process->errorString()}), false);
        process->deleteLater();
    }
    update();
}

void SpeechEngine::launch()
{
    if (m_setupProcess) {
        beginWatching();
        return;
    }
    if (!BundledEngine::interpreterReady()) {
        setStatus(L10n::s("engine.missing"), false);
        update();
        beginWatching();
        return;
    }
    if (!emptyLog()) {
        beginWatching();
        return;
    }
    auto* process = new QProcess(this);
    process->setProgram(BundledEngine::interpreter());
    process->setArguments({QStringLiteral("-u"), QStringLiteral("-m"), QStringLiteral("quenda_engine")});
    process->setWorkingDirectory(SupportPaths::directory());
    process->setProcessEnvironment(engineEnvironment());
    routeOutputToLog(*process);
    connect(process, &QProcess::started, this, [this, process] { launchSettled(process, true); });
    connect(process, &QProcess::errorOccurred, this, [this, process](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            launchSettled(process, false);
    });
    connect(process, &QProcess::finished, this, [this, process] { engineFinished(process); });
    if (m_process)
        retire(m_process);
    m_process = process;
    m_ready = false;
    m_launchFailed = false;
    // Shown at once but told only with the outcome, so no report says "loading" for an engine that
    // never ran.
    setStatus(L10n::s("engine.loadingWhisper"), true);
    process->start();
}

void SpeechEngine::launchSettled(QProcess* process, bool started)
{
    if (process != m_process) {
        if (!started)
            process->deleteLater();
        return;
    }
    if (!started) {
        m_process = nullptr;
        m_launchFailed = true;
        setStatus(process->errorString(), false);
        process->deleteLater();
    }
    update();
    beginWatching();
}

void SpeechEngine::beginWatching()
{
    m_pollTimer = m_clock.every(kPollIntervalMs, this, [this] { poll(); });
    poll();
}

void SpeechEngine::stopWatching()
{
    m_pollTimer.reset();
    // A relaunch still pending from restart() would start a second engine beside the next one.
    m_relaunch.reset();
    ++m_watchGeneration;
    m_probing = false;
    if (m_process)
        retire(m_process);
    m_process = nullptr;
    m_ready = false;
}

void SpeechEngine::poll()
{
    const quint64 generation = m_watchGeneration;
    m_client.health(port(), this, [this, generation](const EngineResult<HealthBody>& health) {
        if (generation == m_watchGeneration)
            applyHealth(health.ok() ? std::optional(health.value()) : std::nullopt);
    });
}

void SpeechEngine::applyHealth(const std::optional<HealthBody>& health)
{
    if (!health) {
        // A process of ours keeps its own status (loading, or stopped) until it answers, and so
        // does the error of a launch that failed.
        if (!m_process && !m_launchFailed) {
            m_ready = false;
            setStatus(L10n::s("engine.missing"), false);
        }
        update();
        return;
    }
    m_launchFailed = false;
    m_ready = health->ready;
    if (m_ready) {
        const QuendaConfig config = m_config();
        const bool hasKey = !m_keys.generalKey().trimmed().isEmpty();
        m_polishAvailable = config.correctionConfigured(
            hasKey, [this](const CorrectionEndpoint& endpoint) { return m_keys.key(endpoint); });
        const bool needsKey = config.polishProvider == PolishProvider::OpenAI && !m_polishAvailable;
        setStatus(L10n::s(needsKey ? "engine.readyNeedsKey" : "engine.ready"), false);
    } else {
        m_polishAvailable = false;
        if (health->error)
            setStatus(*health->error, false);
        else
            setStatus(L10n::s("engine.loadingWhisper"), true);
    }
    update();
}

void SpeechEngine::setupFinished(QProcess* process, int exitCode, QProcess::ExitStatus exitStatus)
{
    process->deleteLater();
    if (process != m_setupProcess)
        return;
    m_setupProcess = nullptr;
    if (exitStatus == QProcess::NormalExit && exitCode == 0) {
        start(StartCause::SetupSucceeded);
        return;
    }
    setStatus(L10n::s("engine.setupFailed"), false);
    update();
}

void SpeechEngine::engineFinished(QProcess* process)
{
    // Only the current process reports its end: a predecessor that restart() terminated may exit
    // after its successor is running, and must not mark that one stopped.
    if (process != m_process) {
        process->deleteLater();
        return;
    }
    // The process stays set, so later polls without an answer keep showing that it stopped.
    m_ready = false;
    setStatus(L10n::s("engine.stopped"), false);
    relaunchAfterEnd();
    update();
}

void SpeechEngine::relaunchAfterEnd()
{
    const qint64 now = m_clock.elapsedMs();
    m_autoRestarts.removeIf([now](qint64 at) { return now - at >= kAutoRestartWindowMs; });
    if (m_autoRestarts.size() >= kAutoRestartLimit) {
        setStatus(L10n::s("engine.stoppedRepeatedly"), false);
        return;
    }
    // A crash that comes back at once must not keep the machine busy relaunching.
    const int delayMs = kAutoRestartFirstDelayMs << (2 * m_autoRestarts.size());
    m_autoRestarts.append(now);
    // Held in m_relaunch, so a shutdown (the program quitting) cancels it.
    m_relaunch = m_clock.after(delayMs, this, [this] {
        m_relaunch.reset();
        launch();
    });
}

void SpeechEngine::shutdown()
{
    stopWatching();
    m_client.requestShutdown(port());
}

void SpeechEngine::restart()
{
    m_autoRestarts.clear();
    shutdown();
    m_relaunch = m_clock.after(kRestartDelayMs, this, [this] {
        m_relaunch.reset();
        launch();
    });
}

void SpeechEngine::retire(QProcess* process)
{
    // A running process is kept until it has exited, so its end is reaped without blocking.
    if (process->state() == QProcess::NotRunning)
        process->deleteLater();
    else
        process->terminate();
}

void SpeechEngine::setStatus(const QString& text, bool loading)
{
    m_statusText = text;
    m_statusIsLoading = loading;
}

void SpeechEngine::update()
{
    emit statusChanged();
}
