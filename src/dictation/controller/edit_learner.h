#pragma once

#include "dictation/controller/learner.h"

#include <QObject>
#include <QPointer>

class DictionaryLearner;

// The real learner behind the dictation's narrow view; only the latest watch's receiver hears.
class EditLearner final : public QObject, public Learner {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(EditLearner)

public:
    explicit EditLearner(DictionaryLearner& learner, QObject* parent = nullptr);

    void watch(const QString& inserted, QObject* context, Learned learned) override;
    void stop() override;

private:
    DictionaryLearner& m_learner;
    QPointer<QObject> m_context;
    Learned m_learned;
};
