#include "dictation/controller/dictation_controller.h"

#include "core/base/timing.h"
#include "core/model/others_audio.h"
#include "core/state/app_state.h"
#include "core/text/l10n.h"
#include "core/text/speech_route_text.h"
#include "dictation/capture/recorder.h"
#include "dictation/controller/dictation_job.h"
#include "dictation/controller/learner.h"
#include "dictation/controller/microphone_access.h"
#include "dictation/controller/pending_selection.h"
#include "dictation/controller/reset_delay.h"
#include "dictation/hotkey/hotkey_monitor.h"
#include "dictation/silence/silencer.h"
#include "platform/sound_player.h"
#include "platform/window_system.h"
#include "speech/speech_service.h"

#include <QCoreApplication>
#include <QUuid>

namespace {

// Terms the user spells their own way keep their case wherever a dictation puts them.
QStringList dictionaryTerms(const QuendaConfig& config)
{
    QStringList terms;
    for (const DictionaryItem& item : DictionaryItem::parse(config.dictionary))
        terms.append(item.term);
    return terms;
}

} // namespace

DictationController::DictationController(const Services& services, QObject* parent)
    : QObject(parent)
    , m_state(services.state)
    , m_clock(services.clock)
    , m_speech(services.speech)
    , m_recorder(services.recorder)
    , m_inserter(services.inserter)
    , m_silencer(services.silencer)
    , m_learner(services.learner)
    , m_sounds(services.sounds)
    , m_microphone(services.microphone)
    , m_windows(services.windows)
    , m_provenServer(services.state.config().speechServer())
{
    HotkeyMonitor& hotkey = services.hotkey;
    connect(&hotkey, &HotkeyMonitor::pressed, this, &DictationController::dismissTransient);
    connect(&hotkey, &HotkeyMonitor::holdStarted, this, [this] { beginListening(false); });
    connect(&hotkey, &HotkeyMonitor::holdEnded, this, [this] {
        if (m_state.phase().is(Phase::Kind::Listening) && !m_state.handsFree())
            stopAndProcess();
    });
    connect(&hotkey, &HotkeyMonitor::toggled, this, &DictationController::toggleHandsFree);
    connect(&hotkey, &HotkeyMonitor::escapePressed, this, &DictationController::cancel);
    connect(&hotkey, &HotkeyMonitor::shortcutTyped, this, &DictationController::dropShortcutHold);
    connect(&m_recorder, &Recorder::limitReached, this, &DictationController::stopAndProcess);
    connect(&m_recorder, &Recorder::captured, this, [this](const QByteArray& pcm) {
        if (m_stream)
            m_stream->append(pcm);
    });
    // The whole recording goes at its end instead, as it does to a speech server.
    connect(&m_recorder, &Recorder::interrupted, this, &DictationController::dropStream);
    connect(&m_recorder, &Recorder::levelChanged, this, [this](float level) {
        if (m_state.phase().is(Phase::Kind::Listening))
            m_state.pushLevel(level);
    });
}

DictationController::~DictationController() = default;

// ---- recording

void DictationController::beginListening(bool handsFree)
{
    if (m_state.phase().is(Phase::Kind::Listening))
        return;
    if (!m_speech.ready()) {
        show(Phase::notice(L10n::s("notice.loading")), ResetDelay::loadingMs);
        return;
    }
    switch (m_microphone.status()) {
    case MicrophoneAccess::Status::Undetermined:
        m_microphone.request(this, [this, handsFree](bool granted) {
            m_state.refreshPermissions();
            // A hold's key is most likely up by now, and nothing would end that recording before the
            // length limit; only a hands-free start, which a second toggle ends, is resumed.
            if (granted && handsFree)
                beginListening(true);
        });
        return;
    case MicrophoneAccess::Status::Denied:
        show(Phase::failed(L10n::s("notice.micDenied")), ResetDelay::micDeniedMs);
        emit mainWanted(MainSection::Settings);
        return;
    case MicrophoneAccess::Status::Granted:
        break;
    }

    cancelJob();
    dropSelectionCapture();
    m_state.setRewriting(false);
    ++m_generation;
    m_dictationApp = frontApp();
    if (m_dictationApp)
        m_state.rememberApp(*m_dictationApp);
    m_inserter.rememberInsertTarget();
    m_speech.prewarm();
    dropStream();
    const auto started = m_recorder.start();
    if (!started.ok()) {
        show(Phase::failed(started.error()), ResetDelay::startFailedMs);
        return;
    }
    m_stream = m_speech.openStream(m_state.config().language, this);
    startSelectionCapture();
    m_learner.stop();
    m_state.setOverlayResult(std::nullopt);
    m_state.setNotePreview(std::nullopt);
    m_state.setDictationPreview(std::nullopt);
    m_pendingChoice.reset();
    m_state.setHandsFree(handsFree);
    m_state.resetLevels();
    m_state.setElapsed(0);
    m_listenStartedMs = m_clock.elapsedMs();
    show(Phase::listening(), std::nullopt);
    if (m_state.config().playSounds)
        m_sounds.play(SoundPlayer::Sound::Start);
    scheduleSilence();
    stopTicker();
    m_ticker = m_clock.every(kTickMs, this, [this] {
        if (m_state.phase().is(Phase::Kind::Listening))
            m_state.setElapsed(double(m_clock.elapsedMs() - m_listenStartedMs) / 1000.0);
    });
}

void DictationController::stopAndProcess()
{
    if (!m_state.phase().is(Phase::Kind::Listening))
        return;
    Timing::setStart(m_clock.now());
    Timing::mark(QStringLiteral("---- recording stopped"));
    releaseSilence();
    const std::optional<QByteArray> wav = m_recorder.stop();
    const double duration = double(m_clock.elapsedMs() - m_listenStartedMs) / 1000.0;
    m_state.setHandsFree(false);
    stopTicker();
    if (m_state.config().playSounds)
        m_sounds.play(SoundPlayer::Sound::Stop);
    if (!wav) {
        dropStream();
        dropSelectionCapture();
        // The recorder keeps nothing under a quarter second: a longer hold that still brought none
        // means the microphone delivered nothing.
        const bool tooShort = duration < kShortestRecordingS;
        ended(tooShort ? QStringLiteral("too short") : QStringLiteral("nothing heard (no audio)"));
        show(Phase::notice(L10n::s(tooShort ? "notice.tooShort" : "notice.nothingHeard")),
             ResetDelay::nothingHeardMs);
        return;
    }

    DictationJob::Facts facts;
    facts.generation = m_generation;
    facts.config = m_state.config();
    facts.duration = duration;
    const std::optional<FrontApp> app = frontApp() ? frontApp() : m_dictationApp;
    if (app) {
        m_state.rememberApp(*app);
        facts.app = app->name;
        facts.config.style = m_state.effectiveStyle(*app);
    }
    facts.polishAvailable = m_speech.polishAvailable();
    facts.config.autoCorrect = facts.config.autoCorrect && facts.polishAvailable;
    show(Phase::transcribing(), std::nullopt);

    // An older run is only let go here: a new start has cancelled it already, and its results
    // fail the generation check.
    auto* job = new DictationJob(std::move(facts), this);
    m_job = job;
    if (job->facts().config.commandMode)
        job->adopt(m_selection);
    else
        dropSelectionCapture();
    m_selection = nullptr;
    const auto done = [this, job](const EngineResult<Transcript>& result) { transcribed(job, result); };
    if (m_stream)
        m_speech.transcribeStream(std::exchange(m_stream, nullptr), *wav, job->facts().config.language, job,
                                  done);
    else
        m_speech.transcribe(*wav, job->facts().config.language, job, done);
}

void DictationController::toggleHandsFree()
{
    if (m_state.phase().is(Phase::Kind::Listening))
        stopAndProcess();
    else
        beginListening(true);
}

void DictationController::cancel()
{
    const Phase::Kind kind = m_state.phase().kind();
    switch (kind) {
    case Phase::Kind::Polishing:
    case Phase::Kind::Translating:
    case Phase::Kind::Transcribing:
        cancelJob();
        dropSelectionCapture();
        m_state.setRewriting(false);
        break;
    case Phase::Kind::Listening:
        releaseSilence();
        dropStream();
        dropSelectionCapture();
        m_recorder.stop();
        stopTicker();
        m_state.setHandsFree(false);
        break;
    case Phase::Kind::Idle:
    case Phase::Kind::Done:
    case Phase::Kind::Failed:
    case Phase::Kind::Notice:
        return;
    }
    ended(QStringLiteral("cancelled"));
    show(Phase::notice(L10n::s("notice.cancelled")), ResetDelay::cancelledMs);
}

void DictationController::dropShortcutHold()
{
    if (!m_state.phase().is(Phase::Kind::Listening) || m_state.handsFree())
        return;
    Timing::mark(QStringLiteral("hotkey: a shortcut, not a hold; its recording is dropped"));
    releaseSilence();
    dropStream();
    dropSelectionCapture();
    m_recorder.stop();
    stopTicker();
    show(Phase::idle(), std::nullopt);
}

void DictationController::dismissTransient()
{
    if (m_state.dictationPreview())
        m_state.setDictationPreview(std::nullopt);
    const Phase::Kind kind = m_state.phase().kind();
    if (kind == Phase::Kind::Done || kind == Phase::Kind::Failed || kind == Phase::Kind::Notice)
        show(Phase::idle(), std::nullopt);
}

void DictationController::scheduleSilence()
{
    m_silenceWork.reset();
    const OthersAudio mode = m_state.config().othersAudio;
    if (mode == OthersAudio::Off || !m_state.phase().is(Phase::Kind::Listening)) {
        m_silencer.end();
        return;
    }
    const auto begin = [this] {
        m_silenceWork.reset();
        const OthersAudio now = m_state.config().othersAudio;
        if (m_state.phase().is(Phase::Kind::Listening) && now != OthersAudio::Off)
            m_silencer.begin(now);
    };
    if (m_state.config().playSounds)
        m_silenceWork = m_clock.after(kSilenceAfterSoundMs, this, begin);
    else
        begin();
}

void DictationController::releaseSilence()
{
    m_silenceWork.reset();
    m_silencer.end();
}

// ---- phase and delivery

void DictationController::show(const Phase& phase, std::optional<int> resetAfterMs)
{
    m_resetWork.reset();
    switch (phase.kind()) {
    case Phase::Kind::Failed:
    case Phase::Kind::Notice:
    case Phase::Kind::Listening:
    case Phase::Kind::Transcribing:
        m_state.setDictationPreview(std::nullopt);
        break;
    case Phase::Kind::Polishing:
        if (m_state.rewriting())
            m_state.setDictationPreview(std::nullopt);
        else if (m_state.config().showDictationPreview)
            presentPreview(phase.raw(), DictationPreviewStatus::Working, false);
        break;
    case Phase::Kind::Translating:
    case Phase::Kind::Done:
    case Phase::Kind::Idle:
        break;
    }
    m_state.setPhase(phase);
    if (resetAfterMs)
        m_resetWork = m_clock.after(*resetAfterMs, this, [this] {
            m_resetWork.reset();
            m_state.setPhase(Phase::idle());
        });
}

void DictationController::presentPreview(const QString& text, DictationPreviewStatus status, bool wasCommand)
{
    if (m_state.config().showDictationPreview)
        m_state.setDictationPreview(DictationPreview{text, status, wasCommand});
    else
        m_state.setDictationPreview(std::nullopt);
}

void DictationController::addHistory(const QString& raw, const QString& text, std::optional<double> duration,
                                     const std::optional<QString>& app, bool command,
                                     std::optional<bool> pasted, const std::optional<QString>& serverFailure)
{
    const QUuid id = QUuid::createUuid();
    m_state.addHistory(HistoryEntry{id, m_clock.now(), raw, text, duration, app, command, {}, serverFailure});
    // A text that reached no field waits on the clipboard, where the next copy replaces it; the
    // main window offers the newest such one again until a later text lands.
    if (pasted)
        m_state.setUnpastedDictation(*pasted ? std::nullopt : std::optional(id));
}

void DictationController::finishDeliver(const Delivery& delivery, quint64 generation)
{
    // The text is in the field or on the clipboard whatever came since, so the history keeps it;
    // the phase belongs to a newer recording once one started.
    ended(delivery.pasted ? QStringLiteral("pasted") : QStringLiteral("copied"));
    addHistory(delivery.raw, delivery.text, delivery.duration, delivery.app, delivery.command,
               delivery.pasted, delivery.serverFailure);
    if (generation == m_generation) {
        m_state.setRewriting(false);
        if (m_state.config().showDictationPreview) {
            if (delivery.pasted)
                m_state.setDictationPreview(std::nullopt);
            else
                presentPreview(delivery.text,
                               delivery.replacedCopy ? DictationPreviewStatus::ReplacedCopy
                                                     : DictationPreviewStatus::Copied,
                               delivery.command);
            show(Phase::idle(), std::nullopt);
        } else {
            show(Phase::done(delivery.text, delivery.pasted),
                 delivery.pasted ? ResetDelay::pastedMs : ResetDelay::notPastedMs);
        }
    }
    if (delivery.fieldText && m_state.config().learnEdits)
        m_learner.watch(*delivery.fieldText, this,
                        [this](const QList<DictionaryItem>& items) { applyLearned(items); });
}

void DictationController::tellAfterDelivery(DictationJob* job, const std::optional<QString>& polishFailure)
{
    if (job->facts().generation != m_generation)
        return;
    const DictationJob::Progress& progress = job->progress();
    const std::optional<SpeechServer> server = job->facts().config.speechServer();
    QStringList lines;
    int resetAfterMs = ResetDelay::polishNoticeMs;
    if (progress.serverFailure) {
        lines << L10n::format(QStringLiteral("notice.speechFallback"), {*progress.serverFailure});
        resetAfterMs = ResetDelay::speechFallbackMs;
    } else if (progress.byServer && server != m_provenServer) {
        lines << L10n::format(QStringLiteral("notice.speechServerWorks"), {SpeechRouteText::of(server)});
        m_provenServer = server;
        resetAfterMs = polishFailure ? ResetDelay::polishNoticeMs : ResetDelay::speechServerWorksMs;
    }
    if (polishFailure)
        lines << *polishFailure;
    if (!lines.isEmpty())
        show(Phase::notice(lines.join(u'\n')), resetAfterMs);
}

void DictationController::startSelectionCapture()
{
    dropSelectionCapture();
    if (!m_state.config().commandMode)
        return;
    auto* probe = new PendingSelection(this);
    m_selection = probe;
    m_inserter.captureSelection(probe, [probe](std::optional<QString> text) { probe->settle(text); });
}

void DictationController::dropSelectionCapture()
{
    if (m_selection)
        m_selection->deleteLater();
    m_selection = nullptr;
}

void DictationController::cancelJob()
{
    if (m_job)
        m_job->cancel();
    m_job = nullptr;
}

void DictationController::dropStream()
{
    delete m_stream.data();
}

void DictationController::stopTicker()
{
    m_ticker.reset();
}

void DictationController::ended(const QString& outcome)
{
    Timing::mark(QStringLiteral("dictation ended: ") + outcome);
}

std::optional<FrontApp> DictationController::frontApp() const
{
    return m_windows.frontmostApp();
}

bool DictationController::isCurrent(const DictationJob* job) const
{
    return job && !job->cancelled() && job->facts().generation == m_generation;
}

// ---- processing

void DictationController::transcribed(DictationJob* job, const EngineResult<Transcript>& result)
{
    if (!isCurrent(job))
        return;
    const DictationJob::Facts& facts = job->facts();
    if (!result.ok()) {
        ended(QStringLiteral("failed: ") + result.error().message);
        show(Phase::failed(result.error().message), ResetDelay::failedMs);
        job->finish();
        return;
    }
    Timing::mark(QStringLiteral("whisper done (autoCorrect=") +
                 (facts.config.autoCorrect ? QStringLiteral("true") : QStringLiteral("false")) + u')');
    job->progress().raw = result.value().text.trimmed();
    job->progress().heard = result.value().heard.trimmed();
    job->progress().byServer = result.value().byServer;
    job->progress().serverFailure = result.value().serverFailure;
    PendingSelection* probe = job->selection();
    if (probe && !probe->isKnown()) {
        connect(probe, &PendingSelection::known, job, [this, job] { selectionKnown(job); });
        return;
    }
    selectionKnown(job);
}

void DictationController::selectionKnown(DictationJob* job)
{
    if (!isCurrent(job))
        return;
    const DictationJob::Facts& facts = job->facts();
    DictationJob::Progress& progress = job->progress();
    if (PendingSelection* probe = job->selection())
        progress.selection = probe->text();
    const std::optional<QString>& selection = progress.selection;
    Timing::mark(
        QStringLiteral("selection read (") +
        (selection ? QString::number(selection->size()) + QStringLiteral(" chars") : QStringLiteral("none")) +
        QStringLiteral("), app=") + facts.app.value_or(QStringLiteral("?")) + QStringLiteral(", style=") +
        facts.config.style);
    if (progress.raw.isEmpty()) {
        ended(QStringLiteral("nothing recognised"));
        show(Phase::notice(L10n::s("notice.nothingRecognized")), ResetDelay::nothingHeardMs);
        job->finish();
        return;
    }
    if (selection)
        commandOnSelection(job);
    else if (facts.config.autoCorrect)
        startCorrection(job);
    else
        deliverPlain(job);
}

void DictationController::insertRaw(DictationJob* job, std::function<void(Inserter::Landing)> landed)
{
    const QString raw = job->progress().raw;
    const QStringList keep = dictionaryTerms(job->facts().config);
    const Inserter::Shape shape = [raw, keep](const CaretContext& caret) {
        return caret.spaced(caret.cased(raw, keep));
    };
    auto inserted = [this, job, raw, keep, landed = std::move(landed)](const Inserter::Inserted& in) {
        if (!isCurrent(job))
            return;
        DictationJob::Progress& progress = job->progress();
        progress.caret = in.caret;
        progress.rawInField = in.caret.cased(raw, keep);
        landed(in.landing);
    };
    // Our own window has the keyboard now (the main window, or the popover the recording was
    // stopped from): the paste would land there, so the text goes to the field the dictation
    // started in.
    if (const std::optional<AppWindow> active = m_windows.activeWindow();
        active && active->pid == QCoreApplication::applicationPid()) {
        const std::optional<QString> fallback =
            m_dictationApp ? std::optional(m_dictationApp->bundleID) : std::nullopt;
        m_inserter.insertAtRememberedCursor(shape, fallback, job, std::move(inserted));
        return;
    }
    m_inserter.insert(shape, job, std::move(inserted));
}

void DictationController::deliverPlain(DictationJob* job)
{
    Timing::mark(QStringLiteral("main thread reached"));
    insertRaw(job, [this, job](Inserter::Landing landing) {
        if (!isCurrent(job))
            return;
        const DictationJob::Facts& facts = job->facts();
        const DictationJob::Progress& progress = job->progress();
        const bool pasted = landing == Inserter::Landing::Pasted;
        finishDeliver({.text = progress.raw,
                       .raw = progress.heard,
                       .duration = facts.duration,
                       .app = facts.app,
                       .command = false,
                       .pasted = pasted,
                       .fieldText = pasted ? std::optional(progress.rawInField) : std::nullopt,
                       .serverFailure = progress.serverFailure,
                       .replacedCopy = landing == Inserter::Landing::ReplacedCopy},
                      facts.generation);
        tellAfterDelivery(job, std::nullopt);
        job->finish();
    });
}

void DictationController::startCorrection(DictationJob* job)
{
    const bool local = job->facts().config.polishProvider == PolishProvider::Local;
    // A remote provider takes longest, so its request goes out before the raw text is pasted.
    if (!local)
        sendCorrection(job);
    Timing::mark(QStringLiteral("main thread reached"));
    const QString raw = job->progress().raw;
    show(Phase::polishing(raw), std::nullopt);
    insertRaw(job, [this, job, local](Inserter::Landing landing) {
        if (!isCurrent(job))
            return;
        job->progress().rawLanding = landing;
        if (local)
            // The local model shares the machine with the paste; it starts once the paste is out.
            m_clock.singleShot(kLocalPolishDelayMs, job, [this, job] {
                if (isCurrent(job))
                    sendCorrection(job);
            });
        else
            finishCorrection(job);
    });
}

void DictationController::sendCorrection(DictationJob* job)
{
    Timing::mark(QStringLiteral("polish request sent"));
    m_speech.polish(job->progress().raw, std::nullopt, job->facts().config, std::nullopt, false, job,
                    [this, job](const EngineResult<QString>& result) {
                        if (!isCurrent(job))
                            return;
                        job->progress().polished = result;
                        finishCorrection(job);
                    });
}

void DictationController::finishCorrection(DictationJob* job)
{
    DictationJob::Progress& progress = job->progress();
    if (!progress.rawLanding || !progress.polished)
        return;
    const QString raw = progress.raw;
    const bool rawPasted = *progress.rawLanding == Inserter::Landing::Pasted;
    std::optional<QString> failure;
    QString final = raw;
    if (progress.polished->ok()) {
        const QString reply = progress.polished->value().trimmed();
        if (!reply.isEmpty())
            final = reply;
    } else {
        failure = progress.polished->error().message;
    }
    const auto deliver = [this, job, final, failure](bool pasted, std::optional<QString> fieldText) {
        const DictationJob::Facts& facts = job->facts();
        finishDeliver(
            {.text = final,
             .raw = job->progress().heard,
             .duration = facts.duration,
             .app = facts.app,
             .command = false,
             .pasted = pasted,
             .fieldText = fieldText,
             .serverFailure = job->progress().serverFailure,
             .replacedCopy = !pasted && job->progress().rawLanding == Inserter::Landing::ReplacedCopy},
            facts.generation);
        tellAfterDelivery(job, failure);
        job->finish();
    };
    const QString rawInField = progress.rawInField;
    const QString finalInField = progress.caret.cased(final, dictionaryTerms(job->facts().config));
    if (final == raw || !rawPasted) {
        if (!rawPasted)
            m_inserter.copyToClipboard(final);
        deliver(rawPasted, rawPasted ? std::optional(rawInField) : std::nullopt);
        return;
    }
    m_inserter.replacePreviousInsert(
        rawInField, finalInField, job,
        [this, job, rawInField, final, finalInField, deliver](Inserter::WriteResult written) {
            if (!isCurrent(job))
                return;
            if (written.ok()) {
                deliver(true, finalInField);
                return;
            }
            // The field keeps the raw text; the correction goes to the clipboard and is shown as
            // copied, not as pasted, so the user knows it still has to be put in.
            m_inserter.copyToClipboard(final);
            deliver(false, rawInField);
        });
}
