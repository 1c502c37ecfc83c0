// The selection commands, the overlay's choices and translation, and learned entries.
#include "dictation/controller/dictation_controller.h"

#include "core/base/timing.h"
#include "core/model/translate_language.h"
#include "core/state/app_state.h"
#include "core/text/l10n.h"
#include "dictation/commands/note_save_command.h"
#include "dictation/controller/dictation_job.h"
#include "dictation/controller/overlay_host.h"
#include "dictation/controller/pending_selection.h"
#include "dictation/controller/reset_delay.h"
#include "dictation/learn/learned_entries.h"
#include "platform/window_system.h"
#include "speech/speech_service.h"

namespace {

bool isBusy(Phase::Kind kind)
{
    return kind == Phase::Kind::Polishing || kind == Phase::Kind::Translating ||
           kind == Phase::Kind::Listening || kind == Phase::Kind::Transcribing;
}

// The trimmed answer, or the error's text as the second value.
std::pair<QString, std::optional<QString>> answerOf(const EngineResult<QString>& result)
{
    if (!result.ok())
        return {QString(), result.error().message};
    return {result.value().trimmed(), std::nullopt};
}

} // namespace

void DictationController::commandOnSelection(DictationJob* job)
{
    const DictationJob::Facts& facts = job->facts();
    const QString raw = job->progress().raw;
    const QString selection = *job->progress().selection;
    const QString trimmed = selection.trimmed();
    const std::optional<NoteSaveCommand::Kind> kind = NoteSaveCommand::kind(raw);
    if (kind == NoteSaveCommand::Kind::SaveSelection) {
        saveNote(job, trimmed);
        return;
    }
    if (!facts.polishAvailable) {
        ended(QStringLiteral("failed: a command needs a correction provider"));
        show(Phase::notice(L10n::s("notice.commandNeedsKey")), ResetDelay::commandNeedsKeyMs);
        job->finish();
        return;
    }
    m_state.setRewriting(true);
    show(Phase::polishing(raw), std::nullopt);
    if (kind == NoteSaveCommand::Kind::SaveAnswer) {
        Timing::mark(QStringLiteral("note command answer"));
        m_speech.polish(raw, trimmed, facts.config, std::nullopt, true, job,
                        [this, job](const EngineResult<QString>& result) {
                            if (!isCurrent(job))
                                return;
                            const auto [answer, error] = answerOf(result);
                            if (error || answer.isEmpty()) {
                                ended(QStringLiteral("failed: ") +
                                      error.value_or(QStringLiteral("no answer")));
                                m_state.setRewriting(false);
                                show(Phase::failed(error.value_or(L10n::s("notice.commandFailed"))),
                                     ResetDelay::commandFailedMs);
                                job->finish();
                                return;
                            }
                            saveNote(job, answer);
                        });
        return;
    }
    Timing::mark(QStringLiteral("choice polish (command + reformulate)"));
    m_speech.polish(raw, selection, facts.config, std::nullopt, false, job,
                    [this, job](const EngineResult<QString>& result) {
                        if (!isCurrent(job))
                            return;
                        job->progress().command = result;
                        finishCommand(job);
                    });
    m_speech.polish(raw, std::nullopt, facts.config, std::nullopt, false, job,
                    [this, job](const EngineResult<QString>& result) {
                        if (!isCurrent(job))
                            return;
                        job->progress().reformulation = result;
                        finishCommand(job);
                    });
}

void DictationController::saveNote(DictationJob* job, const QString& note)
{
    const bool verbatim = !m_state.rewriting();
    // The note is saved even when the run is cancelled meanwhile; only what follows is dropped.
    m_state.saveCapturedText(note, job, [this, job, note, verbatim](NoteSaveOutcome outcome) {
        Timing::mark(verbatim ? QStringLiteral("note command saved verbatim")
                              : QStringLiteral("note command saved answer"));
        if (!isCurrent(job))
            return;
        const DictationJob::Facts& facts = job->facts();
        m_state.setRewriting(false);
        addHistory(job->progress().heard, note, facts.duration, facts.app, true);
        // A note kept only in memory is lost at quit; saying nothing would report it as saved.
        const bool unsaved = outcome.kind == NoteSaveOutcome::Kind::Unsaved;
        ended(unsaved ? QStringLiteral("failed: the note could not be written")
                      : QStringLiteral("saved as a note"));
        if (unsaved)
            show(Phase::failed(L10n::s("notice.noteUnsaved")), ResetDelay::noteUnsavedMs);
        else
            show(Phase::idle(), std::nullopt);
        job->finish();
    });
}

void DictationController::finishCommand(DictationJob* job)
{
    DictationJob::Progress& progress = job->progress();
    if (!progress.command || !progress.reformulation)
        return;
    const auto [command, commandError] = answerOf(*progress.command);
    const auto [reformulation, reformulationError] = answerOf(*progress.reformulation);
    if (command.isEmpty() && reformulation.isEmpty()) {
        ended(QStringLiteral("failed: ") +
              commandError.value_or(reformulationError.value_or(QStringLiteral("no answer"))));
        m_state.setRewriting(false);
        show(Phase::failed(
                 commandError.value_or(reformulationError.value_or(L10n::s("notice.commandFailed")))),
             ResetDelay::commandFailedMs);
        job->finish();
        return;
    }
    const DictationJob::Facts& facts = job->facts();
    const QString raw = progress.raw;
    const QString commandText = command.isEmpty() ? raw : command;
    m_pendingChoice = ChoiceMeta{progress.heard, facts.duration, facts.app};
    m_state.setRewriting(false);
    m_state.setOverlayResult(OverlayResult{
        raw, commandText,
        QList<OverlayResultChoice>{
            {OverlayResultChoice::Kind::Command, L10n::s("overlay.choice.command"), commandText},
            {OverlayResultChoice::Kind::Reformulate, L10n::s("overlay.choice.reformulate"),
             reformulation.isEmpty() ? raw : reformulation},
        }});
    m_state.setWidgetHovered(true);
    m_state.setWidgetTranslateOpen(false);
    show(Phase::idle(), std::nullopt);
    if (m_overlay)
        m_overlay->reshape();
    job->finish();
}

void DictationController::applyOverlayChoice(const OverlayResultChoice& choice)
{
    const ChoiceMeta meta =
        std::exchange(m_pendingChoice, std::nullopt).value_or(ChoiceMeta{choice.text, 0.0, {}});
    m_state.setOverlayResult(std::nullopt);
    if (m_overlay && m_overlay->panelHoldsFocus())
        m_overlay->resignFocus();
    const std::optional<QString> fallback =
        m_dictationApp ? std::optional(m_dictationApp->bundleID) : std::nullopt;
    const Delivery delivery{.text = choice.text,
                            .raw = meta.raw,
                            .duration = meta.duration,
                            .app = meta.app,
                            .command = choice.kind == OverlayResultChoice::Kind::Command,
                            .pasted = true,
                            .fieldText = choice.text,
                            .serverFailure = std::nullopt};
    const quint64 generation = m_generation;
    m_inserter.replaceRememberedSelection(
        choice.text, this, [this, delivery, generation, fallback](Inserter::WriteResult written) {
            if (written.ok()) {
                Timing::mark(QStringLiteral("insert: accessibility replace"));
                finishDeliver(delivery, generation);
                return;
            }
            m_inserter.insertAtRememberedCursor(Inserter::asIs(delivery.text), fallback, this,
                                                [this, delivery, generation](const Inserter::Inserted& in) {
                                                    Delivery landed = delivery;
                                                    landed.pasted = in.landing == Inserter::Landing::Pasted;
                                                    if (!landed.pasted)
                                                        landed.fieldText.reset();
                                                    finishDeliver(landed, generation);
                                                });
        });
}

void DictationController::translateSelection(const QString& code)
{
    if (isBusy(m_state.phase().kind()))
        return;
    if (!m_speech.ready()) {
        show(Phase::notice(L10n::s("notice.loading")), ResetDelay::translateLoadingMs);
        return;
    }
    const QuendaConfig& config = m_state.config();
    if (!m_speech.polishAvailable()) {
        const QList<CorrectionEndpoint> endpoints = config.activeCorrectionEndpoints();
        const bool allCustom = !endpoints.isEmpty() &&
                               std::all_of(endpoints.begin(), endpoints.end(),
                                           [](const CorrectionEndpoint& e) { return e.usesOwnBaseURL(); });
        const bool needsKey = !allCustom && config.polishProvider == PolishProvider::OpenAI;
        show(Phase::notice(L10n::s(needsKey ? "notice.translateNeedsKey" : "notice.translateNeedsModel")),
             ResetDelay::translateNeedsSetupMs);
        return;
    }
    show(Phase::translating(TranslateLanguage::named(code).id), std::nullopt);
    m_state.setWidgetHovered(true);
    m_state.setWidgetTranslateOpen(false);
    auto* job = new DictationJob(
        {.generation = m_generation, .config = config, .app = {}, .duration = {}, .polishAvailable = true},
        this);
    m_job = job;
    m_inserter.captureSelection(job, [this, job, code](std::optional<QString> selection) {
        if (!isCurrent(job))
            return;
        if (!selection) {
            show(Phase::notice(L10n::s("notice.selectFirst")), ResetDelay::selectFirstMs);
            job->finish();
            return;
        }
        job->progress().selection = selection;
        m_speech.polish(*selection, *selection, job->facts().config, code, false, job,
                        [this, job](const EngineResult<QString>& result) {
                            if (!isCurrent(job))
                                return;
                            const auto [translation, error] = answerOf(result);
                            if (error) {
                                show(Phase::failed(*error), ResetDelay::failedMs);
                                job->finish();
                            } else if (translation.isEmpty()) {
                                show(Phase::failed(L10n::s("notice.noTranslation")),
                                     ResetDelay::noTranslationMs);
                                job->finish();
                            } else {
                                translated(job, translation);
                            }
                        });
    });
}

void DictationController::translated(DictationJob* job, const QString& translation)
{
    m_inserter.focusTakesText(job, [this, job, translation](bool takesText) {
        if (!isCurrent(job))
            return;
        const QString selection = job->progress().selection.value_or(QString());
        const std::optional<FrontApp> app = frontApp();
        const std::optional<QString> appName = app ? std::optional(app->name) : std::nullopt;
        if (!takesText) {
            m_state.setRewriting(false);
            m_state.setDictationPreview(std::nullopt);
            m_state.setOverlayResult(
                OverlayResult{L10n::s("overlay.translation"), translation, std::nullopt});
            m_state.setWidgetHovered(true);
            m_state.setWidgetTranslateOpen(false);
            addHistory(selection, translation, std::nullopt, appName, true);
            show(Phase::idle(), std::nullopt);
            if (m_overlay)
                m_overlay->reshape();
            job->finish();
            return;
        }
        m_inserter.insert(Inserter::asIs(translation), job,
                          [this, job, translation, selection, appName](const Inserter::Inserted& in) {
                              if (!isCurrent(job))
                                  return;
                              const bool pasted = in.landing == Inserter::Landing::Pasted;
                              addHistory(selection, translation, std::nullopt, appName, true, pasted);
                              if (m_state.config().showDictationPreview) {
                                  if (pasted)
                                      m_state.setDictationPreview(std::nullopt);
                                  else
                                      presentPreview(translation, DictationPreviewStatus::Copied, true);
                                  show(Phase::idle(), std::nullopt);
                              } else {
                                  show(Phase::done(translation, pasted),
                                       pasted ? ResetDelay::pastedMs : ResetDelay::notPastedMs);
                              }
                              job->finish();
                          });
    });
}

void DictationController::applyLearned(const QList<DictionaryItem>& items)
{
    const std::optional<LearnedEntries::Merge> merge =
        LearnedEntries::applyLearned(m_state.config().dictionary, items);
    if (!merge)
        return;
    m_state.changeConfigUnasked([&merge](QuendaConfig& config) { config.dictionary = merge->dictionary; });
    if (isBusy(m_state.phase().kind()))
        return;
    show(Phase::notice(
             L10n::format(QStringLiteral("dictionary.learned"), {LearnedEntries::summary(merge->added)})),
         ResetDelay::learnedMs);
}
