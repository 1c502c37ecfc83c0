#include "dictation/controller/dictionary_learner_adapter.h"

#include "dictation/learn/dictionary_learner.h"

DictionaryLearnerAdapter::DictionaryLearnerAdapter(DictionaryLearner& learner, QObject* parent)
    : QObject(parent)
    , m_learner(learner)
{
    connect(&learner, &DictionaryLearner::learned, this, [this](const QList<DictionaryItem>& items) {
        if (m_context && m_learned)
            m_learned(items);
    });
}

void DictionaryLearnerAdapter::watch(const QString& inserted, QObject* context, Learned learned)
{
    m_context = context;
    m_learned = std::move(learned);
    m_learner.watch(inserted);
}

void DictionaryLearnerAdapter::stop()
{
    m_learner.stop();
    m_learned = {};
    m_context = nullptr;
}
