#pragma once

#include "core/base/enum_table.h"

// The speech engine that transcribes: each has its own models and quality steps.
enum class AsrEngine { Whisper, Whistle };

namespace AsrEngineText {

inline constexpr EnumTable<AsrEngine>::Row rows[] = {
    {AsrEngine::Whisper, QLatin1String("whisper")},
    {AsrEngine::Whistle, QLatin1String("whistle")},
};
inline constexpr EnumTable<AsrEngine> table{rows, AsrEngine::Whisper};

} // namespace AsrEngineText
