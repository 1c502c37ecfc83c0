#pragma once

#include "speech/engine_replies.h"

#include <optional>

// The blocking GET /health of the start and setup paths. It waits on the socket itself and never
// runs the caller's event loop, so no other event is handled while it blocks.
namespace HealthProbe {

// Blocks for at most timeoutMs; none when nothing answered in time or the body did not decode.
std::optional<HealthBody> fetch(qint64 port, int timeoutMs);

} // namespace HealthProbe
