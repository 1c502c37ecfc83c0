#include "dictation/controller/output_silencer.h"

#include "dictation/silence/output_silence.h"

void OutputSilencer::begin(OthersAudio mode)
{
    m_silence.begin(mode);
}

void OutputSilencer::release()
{
    m_silence.end();
}
