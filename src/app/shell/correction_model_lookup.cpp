#include "app/shell/correction_model_lookup.h"

#include "core/model/correction_endpoint.h"
#include "core/state/app_state.h"
#include "speech/engine_control.h"

#include <QUrl>

CorrectionModelLookup::CorrectionModelLookup(AppState& state, EngineControl& engine, QObject* parent)
    : QObject(parent)
    , m_state(state)
    , m_engine(engine)
{
}

bool CorrectionModelLookup::isHosted(const QString& baseURL)
{
    const QString host = QUrl(baseURL).host().toLower();
    if (host.isEmpty())
        return false;
    for (const CorrectionEndpoint::Provider& provider : CorrectionEndpoint::providers())
        if (!provider.usesOwnBaseURL() && QUrl(QString(provider.baseURL)).host().toLower() == host)
            return true;
    return false;
}

void CorrectionModelLookup::refresh(const QString& key, const std::optional<QString>& baseURL)
{
    const QString trimmed = key.trimmed();
    const QString base = baseURL.value_or(m_state.config().resolvedCorrectionBaseURL());
    if (m_state.config().polishProvider != PolishProvider::OpenAI || (isHosted(base) && trimmed.isEmpty())) {
        reset(base);
        return;
    }
    const QString lookupKey = base + u'\n' + trimmed;
    const auto known = m_state.correctionCatalogs().constFind(base);
    const bool answered = known != m_state.correctionCatalogs().constEnd() && !known->recommended.isEmpty();
    // The held keys are read again at every configuration change; the same question is not sent twice.
    if (m_lookupKey == lookupKey && (answered || m_inFlight))
        return;

    m_lookupKey = lookupKey;
    m_inFlight = true;
    const quint64 generation = ++m_generation;
    delete m_running;
    m_running = new QObject(this);
    m_engine.correctionModel(
        trimmed, base, m_running,
        [this, generation, base, lookupKey](const EngineResult<CorrectionModelBody>& result) {
            if (generation != m_generation || m_lookupKey != lookupKey)
                return;
            m_inFlight = false;
            // The model fields describe the endpoint in use; an answer about another base fills
            // only that base's catalogue.
            const bool current = base == m_state.config().resolvedCorrectionBaseURL();
            auto catalogs = m_state.correctionCatalogs();
            auto errors = m_state.correctionLookupErrors();
            if (result.ok()) {
                const QStringList models = result.value().models.value_or(QStringList{});
                catalogs[base] = CorrectionCatalog{result.value().model, models};
                errors.remove(base);
                m_state.setCorrectionCatalogs(catalogs);
                m_state.setCorrectionLookupErrors(errors);
                if (current) {
                    m_state.setCorrectionModel(result.value().model);
                    m_state.setCorrectionModels(models);
                }
                return;
            }
            m_lookupKey.reset();
            catalogs[base] = CorrectionCatalog{};
            errors[base] = result.error().message;
            m_state.setCorrectionCatalogs(catalogs);
            m_state.setCorrectionLookupErrors(errors);
            if (current) {
                m_state.setCorrectionModel({});
                m_state.setCorrectionModels({});
            }
        });
}

void CorrectionModelLookup::reset(const QString& base)
{
    ++m_generation;
    delete m_running;
    m_lookupKey.reset();
    m_inFlight = false;
    auto catalogs = m_state.correctionCatalogs();
    catalogs[base] = CorrectionCatalog{};
    auto errors = m_state.correctionLookupErrors();
    errors.remove(base);
    m_state.setCorrectionCatalogs(catalogs);
    m_state.setCorrectionLookupErrors(errors);
    if (base == m_state.config().resolvedCorrectionBaseURL()) {
        m_state.setCorrectionModel({});
        m_state.setCorrectionModels({});
    }
}
