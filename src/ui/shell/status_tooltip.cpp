#include "ui/shell/status_tooltip.h"

#include "core/text/hotkey_text.h"
#include "core/text/l10n.h"

namespace StatusTooltip {

namespace {

const char* stateKey(const Inputs& inputs)
{
    switch (inputs.phase.kind()) {
    case Phase::Kind::Listening:
        return inputs.handsFree ? "status.tip.handsFree" : "status.tip.listening";
    case Phase::Kind::Transcribing:
    case Phase::Kind::Polishing:
    case Phase::Kind::Translating:
        return "status.tip.working";
    case Phase::Kind::Idle:
    case Phase::Kind::Done:
    case Phase::Kind::Failed:
    case Phase::Kind::Notice:
        break;
    }
    switch (inputs.engine) {
    case EngineState::Ready:
        break;
    case EngineState::Loading:
        return "status.tip.loading";
    case EngineState::Error:
        return "status.tip.engineStopped";
    }
    return "status.tip.ready";
}

} // namespace

QString text(const Inputs& inputs)
{
    QString text = L10n::s(QString::fromLatin1(stateKey(inputs)));
    if (inputs.updateShown)
        text += u'\n' + L10n::s("status.tip.update");
    return text + u'\n' + L10n::format(QStringLiteral("status.tip.keys"), {HotkeyText::title(inputs.hotkey)});
}

} // namespace StatusTooltip
