#pragma once

#include "core/notes/apple_notes_failure.h"
#include "core/base/result.h"

// The value a Notes script delivered, or why it did not.
template <typename T> using AppleNotesResult = Result<T, AppleNotesFailure>;
