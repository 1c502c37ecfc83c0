#pragma once

#include "core/model/correction_endpoint.h"

#include <QString>

// Reads the correction providers' keys. The app binds it to the key store; a read that fails
// answers "" just like a missing key.
class ProviderKeys {
public:
    virtual ~ProviderKeys() = default;

    // The general key of the single-provider settings (no endpoint id).
    virtual QString generalKey() const = 0;
    // The key for one endpoint's provider.
    virtual QString key(const CorrectionEndpoint& endpoint) const = 0;
};
