#pragma once

#include "core/config/quenda_config.h"
#include "core/text/caret_context.h"
#include "dictation/controller/inserter.h"
#include "speech/engine_result.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <optional>

class PendingSelection;

// One processing run (a dictation or a translation). It is the context of every request the run
// makes, so cancelling it aborts them; its continuations check it before touching anything.
class DictationJob final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(DictationJob)

public:
    // What the run was started with.
    struct Facts {
        quint64 generation = 0;
        QuendaConfig config;
        std::optional<QString> app;
        std::optional<double> duration;
        bool polishAvailable = false;
    };
    // What the run has learned so far, for steps that wait on two things.
    struct Progress {
        QString raw;           // the transcript as written
        QString heard;         // the transcript's words as the recogniser heard them, for the history
        bool byServer = false; // the user's speech server wrote the transcript
        // Why the speech server gave no transcript, when the built-in recogniser wrote it instead.
        std::optional<QString> serverFailure;
        // What stood before the caret when the raw text went in, and that text as it went in.
        CaretContext caret;
        QString rawInField;
        std::optional<QString> selection;
        std::optional<Inserter::Landing> rawLanding;
        std::optional<EngineResult<QString>> polished;
        std::optional<EngineResult<QString>> command;
        std::optional<EngineResult<QString>> reformulation;
    };

    DictationJob(Facts facts, QObject* parent);

    const Facts& facts() const { return m_facts; }
    Progress& progress() { return m_progress; }
    bool cancelled() const { return m_cancelled; }
    // Marks the run cancelled at once and destroys it (aborting its requests) on the next turn.
    void cancel();
    // The run is over; its object goes on the next turn.
    void finish();
    // The selection read started with the recording; the run owns it from now on.
    void adopt(PendingSelection* probe);
    PendingSelection* selection() const { return m_selection; }

private:
    Facts m_facts;
    Progress m_progress;
    bool m_cancelled = false;
    QPointer<PendingSelection> m_selection;
};
