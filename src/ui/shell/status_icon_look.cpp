#include "ui/shell/status_icon_look.h"

StatusIconLook StatusIconLook::of(const Phase& phase, bool releaseOffered, bool dismissed)
{
    StatusIconLook look;
    const bool busy = phase.is(Phase::Kind::Transcribing) || phase.is(Phase::Kind::Polishing) ||
                      phase.is(Phase::Kind::Translating);
    look.symbol = busy ? Symbol::Busy : Symbol::Waveform;
    look.badge = releaseOffered && !dismissed && look.symbol == Symbol::Waveform;
    look.tinted = phase.is(Phase::Kind::Listening);
    return look;
}
