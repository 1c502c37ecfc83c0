#include "dictation/controller/dictation_job.h"

#include "dictation/controller/pending_selection.h"

DictationJob::DictationJob(Facts facts, QObject* parent)
    : QObject(parent)
    , m_facts(std::move(facts))
{
}

void DictationJob::cancel()
{
    m_cancelled = true;
    deleteLater();
}

void DictationJob::finish()
{
    deleteLater();
}

void DictationJob::adopt(PendingSelection* probe)
{
    if (probe)
        probe->setParent(this);
    m_selection = probe;
}
