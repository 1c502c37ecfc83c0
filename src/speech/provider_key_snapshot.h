#pragma once

#include "core/config/quenda_config.h"
#include "core/keys/key_readings.h"
#include "speech/provider_keys.h"

#include <QHash>
#include <QObject>
#include <QUuid>

class OpenAIKeyStore;

// The providers' keys held in memory, so the health poll and each correction never wait on the
// Secret Service. refresh() reads them again on the key store's worker, behind any save already
// queued there. A key whose read goes unanswered keeps the value it had, so a locked keyring does
// not make configured providers look unconfigured; a key found deleted is dropped.
class ProviderKeySnapshot final : public QObject, public ProviderKeys {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ProviderKeySnapshot)

public:
    explicit ProviderKeySnapshot(OpenAIKeyStore& store, QObject* parent = nullptr);

    QString generalKey() const override;
    // "" for an endpoint the latest refresh did not cover, or whose kind changed since it was read.
    QString key(const CorrectionEndpoint& endpoint) const override;
    QString speechKey() const override;

    // Reads the default key, the keys of the configuration's active endpoints and the speech
    // server's key. The app calls it
    // at start, after a key was saved and whenever the configuration changed.
    void refresh(const QuendaConfig& config);

signals:
    // The answer of the latest refresh is in; answers of refreshes it overtook are dropped.
    void refreshed();

private:
    void apply(const KeyReadings& readings);

    struct Held {
        QString kind; // the provider the key was read for
        QString key;
    };

    OpenAIKeyStore& m_store;
    QString m_general;
    QString m_speech;
    QHash<QUuid, Held> m_byEndpoint;
    quint64 m_generation = 0;
};
