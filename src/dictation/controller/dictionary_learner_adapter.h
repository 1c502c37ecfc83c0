#pragma once

#include "dictation/controller/learner.h"

#include <QObject>
#include <QPointer>

class DictionaryLearner;

// Learner over DictionaryLearner: its learned() signal reaches only the latest watch's callback,
// and not once that watch's context is gone.
class DictionaryLearnerAdapter final : public QObject, public Learner {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(DictionaryLearnerAdapter)

public:
    explicit DictionaryLearnerAdapter(DictionaryLearner& learner, QObject* parent = nullptr);

    void watch(const QString& inserted, QObject* context, Learned learned) override;
    void stop() override;

private:
    DictionaryLearner& m_learner;
    QPointer<QObject> m_context;
    Learned m_learned;
};
