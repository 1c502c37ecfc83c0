#pragma once

#include "core/config/quenda_config.h"
#include "speech/engine_requests.h"
#include "speech/provider_keys.h"

#include <QString>

#include <optional>

namespace PolishRequest {

// The /polish body for one correction: keys are trimmed, and an endpoint is left out when it has
// no key (any kind but "custom") or no base URL ("custom").
PolishBody build(const QString& raw, const std::optional<QString>& selection, const QuendaConfig& config,
                 const std::optional<QString>& targetLanguage, bool noteAnswer, const ProviderKeys& keys);

} // namespace PolishRequest
