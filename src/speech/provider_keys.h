#pragma once

#include "core/model/correction_endpoint.h"

#include <QString>

// The correction providers' keys as the engine uses them: answered from memory, since the health
// poll and every correction ask on the main thread. The app binds it to a ProviderKeySnapshot.
class ProviderKeys {
public:
    virtual ~ProviderKeys() = default;

    // The general key of the single-provider settings (no endpoint id); "" when none is known.
    virtual QString generalKey() const = 0;
    // The key for one endpoint's provider; "" when none is known.
    virtual QString key(const CorrectionEndpoint& endpoint) const = 0;
    // The key of the user's own speech server; "" when none is known.
    virtual QString speechKey() const = 0;
};
