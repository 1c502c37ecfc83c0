#include "ui/shell/status_icon_look.h"

StatusIconLook StatusIconLook::of(const Phase& phase, bool releaseOffered, bool dismissed)
{
    StatusIconLook look;
    const bool busy = phase.is(Phase::Kind::Transcribing) || phase.is(Phase::Kind::Polishing) ||
                      phase.is(Phase::Kind::Translating);
    look.symbol = busy ? Symbol::Busy : Symbol::Waveform;
    look.badge = releaseOffered && !dismissed && look.symbol == Symbol::Waveform;
    look.tinted = phase.is(Phase::Kind::Listening);
    if (look.tinted)
        look.accessibilityKey =
            look.badge ? QStringLiteral("status.icon.both") : QStringLiteral("status.icon.recording");
    else
        look.accessibilityKey =
            look.badge ? QStringLiteral("status.icon.update") : QStringLiteral("status.icon");
    return look;
}
