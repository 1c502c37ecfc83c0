#pragma once

#include "core/keys/key_lookup.h"
#include "core/model/correction_endpoint.h"

#include <vector>

// Several keys read in one go: the default key, the keys of some endpoints and the speech
// server's key, each on its own, so one failed read does not spoil the others.
struct KeyReadings {
    struct Endpoint {
        CorrectionEndpoint endpoint;
        KeyLookup key;
    };

    KeyLookup general;
    std::vector<Endpoint> endpoints;
    KeyLookup speech;
};
