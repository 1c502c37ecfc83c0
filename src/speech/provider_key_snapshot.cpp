#include "speech/provider_key_snapshot.h"

#include "core/keys/open_ai_key_store.h"

ProviderKeySnapshot::ProviderKeySnapshot(OpenAIKeyStore& store, QObject* parent)
    : QObject(parent)
    , m_store(store)
{
}

QString ProviderKeySnapshot::generalKey() const
{
    return m_general;
}

QString ProviderKeySnapshot::key(const CorrectionEndpoint& endpoint) const
{
    const auto it = m_byEndpoint.constFind(endpoint.id);
    // A key read for another kind would go to the wrong provider's servers.
    if (it == m_byEndpoint.cend() || it->kind != endpoint.kind)
        return {};
    return it->key;
}

QString ProviderKeySnapshot::speechKey() const
{
    return m_speech;
}

void ProviderKeySnapshot::refresh(const QuendaConfig& config)
{
    const quint64 generation = ++m_generation;
    m_store.readInBackground(config.activeCorrectionEndpoints(), this,
                             [this, generation](const KeyReadings& readings) {
                                 if (generation != m_generation)
                                     return;
                                 apply(readings);
                                 emit refreshed();
                             });
}

void ProviderKeySnapshot::apply(const KeyReadings& readings)
{
    if (readings.general.ok())
        m_general = readings.general.value().value_or(QString());
    if (readings.speech.ok())
        m_speech = readings.speech.value().value_or(QString());
    QHash<QUuid, Held> next;
    for (const KeyReadings::Endpoint& read : readings.endpoints) {
        const CorrectionEndpoint& endpoint = read.endpoint;
        if (read.key.ok()) {
            next.insert(endpoint.id, {endpoint.kind, read.key.value().value_or(QString())});
            continue;
        }
        const auto previous = m_byEndpoint.constFind(endpoint.id);
        if (previous != m_byEndpoint.cend() && previous->kind == endpoint.kind)
            next.insert(endpoint.id, *previous);
    }
    m_byEndpoint = std::move(next);
}
