#pragma once

#include "core/base/result.h"
#include "core/notes/apple_notes_failure.h"

// The value a Notes script delivered, or why it did not.
template <typename T> using AppleNotesResult = Result<T, AppleNotesFailure>;
