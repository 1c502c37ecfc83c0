#pragma once

#include "core/base/enum_table.h"

// What happens to other audio output while recording.
enum class OthersAudio { Off, Quiet, Mute };

namespace OthersAudioText {

inline constexpr EnumTable<OthersAudio>::Row rows[] = {
    {OthersAudio::Off, QLatin1String("off")},
    {OthersAudio::Quiet, QLatin1String("quiet")},
    {OthersAudio::Mute, QLatin1String("mute")},
};
inline constexpr EnumTable<OthersAudio> table{rows, OthersAudio::Mute};

} // namespace OthersAudioText
