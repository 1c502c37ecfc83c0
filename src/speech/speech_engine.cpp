#include "speech/speech_engine.h"

#include "core/base/support_paths.h"
#include "core/text/l10n.h"
#include "core/text/speech_route_text.h"
#include "speech/engine_launch.h"
#include "speech/engine_stream.h"
#include "speech/polish_request.h"

namespace {

// Only the destructor waits, for a killed child to be reaped.
constexpr int kKillWaitMs = 5000;

bool running(const QProcess* process)
{
    return process && process->state() != QProcess::NotRunning;
}

// The samples of a recording as the recorder writes it, behind a 44-byte header.
std::optional<QByteArrayView> samplesOf(const QByteArray& wav)
{
    constexpr qsizetype headerSize = 44;
    if (wav.size() < headerSize || !wav.startsWith("RIFF") || wav.mid(36, 4) != "data")
        return std::nullopt;
    return QByteArrayView(wav).sliced(headerSize);
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

std::optional<EngineError> SpeechEngine::refusal() const
{
    if (m_trusted)
        return std::nullopt;
    return EngineError{EngineError::Kind::Untrusted,
                       m_portTaken ? L10n::format(QStringLiteral("engine.portTaken"), {port()})
                                   : L10n::s("engine.missing")};
}

template <typename T>
void SpeechEngine::failLater(QObject* context, const Done<T>& done, const EngineError& error)
{
    // As late as an answer, so a caller never sees its callback re-entered.
    QMetaObject::invokeMethod(
        context ? context : this, [done, error] { done(error); }, Qt::QueuedConnection);
}

void SpeechEngine::prewarm()
{
    if (m_trusted)
        m_client.prewarm(port());
}

void SpeechEngine::transcribe(const QByteArray& wav, const QString& language, QObject* context,
                              Done<Transcript> done)
{
    if (const auto error = refusal()) {
        failLater(context, done, *error);
        return;
    }
    const QuendaConfig config = m_config();
    m_client.transcribe(wav, language, config.speechServer(), m_keys.speechKey(), config.port, context,
                        std::move(done));
}

SpeechStream* SpeechEngine::openStream(const QString& language, QObject* parent)
{
    const QuendaConfig config = m_config();
    if (refusal() || config.speechServer())
        return nullptr;
    return m_client.openStream(language, config.port, parent);
}

void SpeechEngine::transcribeStream(SpeechStream* stream, const QByteArray& wav, const QString& language,
                                    QObject* context, Done<Transcript> done)
{
    auto* engineStream = qobject_cast<EngineStream*>(stream);
    const std::optional<QByteArrayView> pcm = samplesOf(wav);
    if (engineStream && pcm) {
        engineStream->setParent(context ? context : this);
        const bool sent = engineStream->finish(
            *pcm, EngineClient::kRequestTimeoutMs,
            [this, engineStream, wav, language, context, done](const EngineResult<Transcript>& result) {
                engineStream->deleteLater();
                // An engine that takes too long for the rest would take longer for all of it.
                if (result.ok() || result.error().kind == EngineError::Kind::TimedOut)
                    done(result);
                else
                    transcribe(wav, language, context, done);
            });
        if (sent)
            return;
    }
    delete stream;
    transcribe(wav, language, context, std::move(done));
}

void SpeechEngine::polish(const QString& raw, const std::optional<QString>& selection,
                          const QuendaConfig& config, const std::optional<QString>& targetLanguage,
                          bool noteAnswer, QObject* context, Done<QString> done)
{
    if (const auto error = refusal()) {
        failLater(context, done, *error);
        return;
    }
    const PolishBody body = PolishRequest::build(raw, selection, config, targetLanguage, noteAnswer, m_keys);
    m_client.polish(body, port(), context, std::move(done));
}

void SpeechEngine::correctionModel(const QString& apiKey, const QString& baseURL, QObject* context,
                                   Done<CorrectionModelBody> done)
{
    if (const auto error = refusal()) {
        failLater(context, done, *error);
        return;
    }
    m_client.correctionModel({apiKey, baseURL}, port(), context, std::move(done));
}

void SpeechEngine::checkSpeechServer(QObject* context, Done<QString> done)
{
    if (const auto error = refusal()) {
        failLater(context, done, *error);
        return;
    }
    const QuendaConfig config = m_config();
    m_client.checkSpeechServer(
        {config.speechBaseURL.trimmed(), config.speechModel.trimmed(), m_keys.speechKey().trimmed()},
        config.port, context, std::move(done));
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
    if (m_setupProcess || m_launchPending)
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
    launchWhenFree();
}

void SpeechEngine::runSetup(const BundledEngine& bundled)
{
    // Nothing is polled while the environment the engine runs in is being replaced.
    stopWatching();
    auto* process = new QProcess(this);
    process->setProgram(m_locations.shell);
    process->setArguments({bundled.script, bundled.source, SupportPaths::directory(), bundled.version});
    EngineLaunch::routeOutputToLog(*process);
    connect(process, &QProcess::started, this, [this, process] { setupSettled(process, true); });
    connect(process, &QProcess::errorOccurred, this, [this, process](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            setupSettled(process, false);
    });
    connect(process, &QProcess::finished, this,
            [this, process](int exitCode, QProcess::ExitStatus exitStatus) {
                setupFinished(process, exitCode, exitStatus);
            });
    m_setupProcess = process;
    m_ready = false;
    process->start();
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

void SpeechEngine::launchWhenFree()
{
    if (m_launchPending)
        return;
    m_launchPending = true;
    const quint64 generation = m_watchGeneration;
    if (QProcess* predecessor = runningPredecessor()) {
        connect(
            predecessor, &QProcess::finished, this,
            [this, generation] {
                if (generation != m_watchGeneration)
                    return;
                m_launchPending = false;
                launchWhenFree();
            },
            Qt::SingleShotConnection);
        return;
    }
    m_client.health(port(), this, [this, generation](const EngineResult<HealthBody>& health) {
        if (generation != m_watchGeneration)
            return;
        m_launchPending = false;
        if (health.ok() || health.error().kind == EngineError::Kind::Untrusted) {
            // Our engine that ended is dropped, so the first poll that finds the port free
            // launches a new one.
            if (m_process && !health.ok()) {
                retire(m_process);
                m_process = nullptr;
            }
            applyHealth(health);
            beginWatching();
        } else {
            launch();
        }
    });
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
    QProcess* process = EngineLaunch::prepareEngine(this);
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
    m_trusted = false;
    m_portTaken = false;
    m_launchFailed = false;
    // Answers on their way concern the port before this engine; only it will know the new secret.
    ++m_watchGeneration;
    m_client.renewSecret();
    // Shown at once but told only with the outcome, so no report says "loading" for an engine that
    // never ran.
    setStatus(L10n::s("engine.loadingWhisper"), true);
    EngineLaunch::start(*process, m_client.secret());
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
    m_launchPending = false;
    if (m_process)
        retire(m_process);
    m_process = nullptr;
    m_ready = false;
    m_trusted = false;
    m_portTaken = false;
    // The engine told to stop must not pass for ours while it still answers.
    m_client.renewSecret();
}

void SpeechEngine::poll()
{
    const quint64 generation = m_watchGeneration;
    m_client.health(port(), this, [this, generation](const EngineResult<HealthBody>& health) {
        if (generation == m_watchGeneration)
            applyHealth(health);
    });
}

void SpeechEngine::applyHealth(const EngineResult<HealthBody>& health)
{
    if (health.ok()) {
        applyProvenHealth(health.value());
    } else if (health.error().kind == EngineError::Kind::Untrusted) {
        m_trusted = false;
        m_portTaken = true;
        m_ready = false;
        m_polishAvailable = false;
        setStatus(health.error().message, false);
    } else if (applySilence(health.error().kind)) {
        return; // a launch reports its own outcome
    }
    update();
}

void SpeechEngine::applyProvenHealth(const HealthBody& health)
{
    m_trusted = true;
    m_portTaken = false;
    m_ready = health.ready;
    if (m_ready) {
        const QuendaConfig config = m_config();
        const bool hasKey = !m_keys.generalKey().trimmed().isEmpty();
        m_polishAvailable = config.correctionConfigured(
            hasKey, [this](const CorrectionEndpoint& endpoint) { return m_keys.key(endpoint); });
        // The engine's state and the recogniser that writes: what a missing provider costs, the
        // views say where it matters.
        setStatus(L10n::format(QStringLiteral("engine.ready"), {SpeechRouteText::of(config.speechServer())}),
                  false);
    } else {
        m_polishAvailable = false;
        if (health.error)
            setStatus(*health.error, false);
        else
            setStatus(L10n::s("engine.loadingWhisper"), true);
    }
}

bool SpeechEngine::applySilence(EngineError::Kind why)
{
    // A slow answer is no reason to doubt an engine of ours that still runs.
    if (!running(m_process))
        m_trusted = false;
    // A listener that holds the connection without answering still holds the port.
    if (m_portTaken && why == EngineError::Kind::TimedOut)
        return false;
    if (std::exchange(m_portTaken, false)) {
        if (!m_process && !m_setupProcess && !m_launchPending && !m_relaunch) {
            launch();
            return true;
        }
        // The status named the other program; ours shows again.
        if (running(m_process))
            setStatus(L10n::s("engine.loadingWhisper"), true);
        else if (m_process)
            setStatus(m_ends.size() > kRelaunchLimit ? gaveUpText() : L10n::s("engine.stopped"), false);
    }
    // A process of ours keeps its own status (loading, or stopped) until it answers, and so does
    // the error of a launch that failed.
    if (!m_process && !m_launchFailed) {
        m_ready = false;
        setStatus(L10n::s("engine.missing"), false);
    }
    return false;
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
    m_ready = false;
    m_trusted = false;
    if (m_portTaken) {
        // It could not have the port another program holds; the first poll that finds the port
        // free launches it again, and this end is not counted against it.
        m_process = nullptr;
        process->deleteLater();
        update();
        return;
    }
    // The process stays set, so later polls without an answer keep showing that it stopped.
    setStatus(L10n::s("engine.stopped"), false);
    relaunchAfterEnd();
    update();
}

void SpeechEngine::relaunchAfterEnd()
{
    const qint64 now = m_clock.elapsedMs();
    m_ends.removeIf([now](qint64 at) { return now - at >= kEndWindowMs; });
    m_ends.append(now);
    if (m_ends.size() > kRelaunchLimit) {
        setStatus(gaveUpText(), false);
        return;
    }
    // A crash that comes back at once must not keep the machine busy relaunching.
    const int delayMs = kFirstRelaunchDelayMs << (2 * (m_ends.size() - 1));
    // Held in m_relaunch, so a shutdown (the program quitting) cancels it.
    m_relaunch = m_clock.after(delayMs, this, [this] {
        m_relaunch.reset();
        launchWhenFree();
    });
}

QString SpeechEngine::gaveUpText() const
{
    return L10n::format(QStringLiteral("engine.stoppedRepeatedly"),
                        {m_ends.size(), kEndWindowMs / (60 * 1000)});
}

void SpeechEngine::shutdown()
{
    // Only an engine of ours is asked, with its token; whatever else answers is told nothing.
    if (running(m_process))
        m_client.requestShutdown(port());
    stopWatching();
}

void SpeechEngine::restart()
{
    m_ends.clear();
    shutdown();
    m_relaunch = m_clock.after(kRestartDelayMs, this, [this] {
        m_relaunch.reset();
        launchWhenFree();
    });
}

QProcess* SpeechEngine::runningPredecessor() const
{
    const auto processes = findChildren<QProcess*>(Qt::FindDirectChildrenOnly);
    for (QProcess* process : processes) {
        if (process != m_process && process != m_setupProcess && running(process))
            return process;
    }
    return nullptr;
}

void SpeechEngine::retire(QProcess* process)
{
    // A running process is kept until it has exited, so its end is reaped without blocking.
    if (process->state() == QProcess::NotRunning) {
        process->deleteLater();
        return;
    }
    process->terminate();
    m_clock.singleShot(kTerminateWaitMs, process, [process] {
        if (process->state() != QProcess::NotRunning)
            process->kill();
    });
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
