#pragma once

#include "platform/key_synthesizer.h"

#include <QObject>

// The key synthesiser of a session that offers no way to post keys into other programs: every
// chord fails as Unavailable, with the reason the session gave.
class UnavailableKeys final : public QObject, public KeySynthesizer {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(UnavailableKeys)

public:
    explicit UnavailableKeys(QString reason, QObject* parent = nullptr);

    void post(Chord chord, Target target, QObject* context, Done done) override;

private:
    const QString m_reason;
};
