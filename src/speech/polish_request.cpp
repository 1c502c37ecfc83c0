#include "speech/polish_request.h"

namespace PolishRequest {

namespace {

std::optional<QString> nonEmpty(const QString& text)
{
    if (text.isEmpty())
        return std::nullopt;
    return text;
}

} // namespace

PolishBody build(const QString& raw, const std::optional<QString>& selection, const QuendaConfig& config,
                 const std::optional<QString>& targetLanguage, bool noteAnswer, const ProviderKeys& keys)
{
    const bool openAI = config.polishProvider == PolishProvider::OpenAI;

    PolishBody body;
    body.raw = raw;
    body.selection = selection;
    body.style = config.style;
    body.instructions = config.instructions;
    body.dictionary = config.dictionary;
    body.targetLanguage = targetLanguage;
    body.provider = PolishProviderText::table.text(config.polishProvider);
    body.apiKey = nonEmpty(keys.generalKey().trimmed());
    if (openAI) {
        body.openAIModel = config.openAIModel;
        body.baseURL = config.resolvedCorrectionBaseURL();
    }
    for (const CorrectionEndpoint& endpoint : config.activeCorrectionEndpoints()) {
        const QString key = keys.key(endpoint).trimmed();
        const QString baseURL = endpoint.resolvedBaseURL();
        const auto provider = CorrectionEndpoint::providerOf(endpoint.kind);
        const bool ownServer = provider && provider->usesOwnBaseURL();
        if (ownServer ? baseURL.isEmpty() : key.isEmpty())
            continue;
        body.endpoints.append({endpoint.model, nonEmpty(key), baseURL, endpoint.kind});
    }
    body.noteAnswer = noteAnswer;
    return body;
}

} // namespace PolishRequest
