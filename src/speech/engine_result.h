#pragma once

#include "core/base/result.h"
#include "speech/engine_error.h"

// The value of a finished engine request, or why there is none.
template <typename T> using EngineResult = Result<T, EngineError>;
