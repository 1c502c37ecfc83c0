#pragma once

#include <QString>

#include <optional>

// What happens to other audio output while recording.
enum class OthersAudio { Off, Quiet, Mute };

namespace OthersAudioText {

inline QString rawValue(OthersAudio mode)
{
    switch (mode) {
    case OthersAudio::Off:
        return QStringLiteral("off");
    case OthersAudio::Quiet:
        return QStringLiteral("quiet");
    case OthersAudio::Mute:
        return QStringLiteral("mute");
    }
    return QStringLiteral("off");
}

// Exactly "off", "quiet" or "mute"; case matters.
inline std::optional<OthersAudio> fromRaw(const QString& raw)
{
    if (raw == QLatin1String("off"))
        return OthersAudio::Off;
    if (raw == QLatin1String("quiet"))
        return OthersAudio::Quiet;
    if (raw == QLatin1String("mute"))
        return OthersAudio::Mute;
    return std::nullopt;
}

} // namespace OthersAudioText
