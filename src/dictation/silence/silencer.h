#pragma once

#include "core/model/others_audio.h"

// Quiets other audio output while recording.
class Silencer {
public:
    virtual ~Silencer() = default;

    virtual void begin(OthersAudio mode) = 0;
    // Restores the saved output state and stops holding; harmless when nothing is silenced.
    virtual void end() = 0;
};
