#pragma once

#include "core/base/guarded_reply.h"
#include "dictation/controller/learner.h"

#include <QObject>

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
    GuardedReply<const QList<DictionaryItem>&> m_learned;
};
