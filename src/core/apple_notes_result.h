#pragma once

#include "apple_notes_failure.h"
#include "result.h"

// The value a Notes script delivered, or why it did not.
template <typename T> using AppleNotesResult = Result<T, AppleNotesFailure>;
