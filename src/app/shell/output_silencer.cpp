#include "app/shell/output_silencer.h"

#include "core/base/run_mode.h"
#include "dictation/silence/output_silence.h"

void OutputSilencer::begin(OthersAudio mode)
{
    if (RunMode::isSnapshot())
        return;
    m_silence.begin(mode);
}

void OutputSilencer::release()
{
    m_silence.end();
}
