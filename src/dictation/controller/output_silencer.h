#pragma once

#include "dictation/controller/silencer.h"

class OutputSilence;

// The dictation's silencer over the real output devices.
class OutputSilencer final : public Silencer {
public:
    explicit OutputSilencer(OutputSilence& silence)
        : m_silence(silence)
    {
    }

    void begin(OthersAudio mode) override;
    void release() override;

private:
    OutputSilence& m_silence;
};
