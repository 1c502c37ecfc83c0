#pragma once

// Short cues of our own around a recording, played without waiting.
class SoundPlayer {
public:
    enum class Sound { Start, Stop };

    virtual ~SoundPlayer() = default;

    virtual void play(Sound sound) = 0;
};
