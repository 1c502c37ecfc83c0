#pragma once

#include "core/model/engine_state.h"
#include "core/model/hotkey.h"
#include "core/model/phase.h"

#include <QString>

// The status item's tooltip: what Quenda is doing, then how to dictate.
namespace StatusTooltip {

struct Inputs {
    Phase phase = Phase::idle();
    bool handsFree = false;
    EngineState engine = EngineState::Ready;
    bool updateShown = false; // an update is offered and not dismissed
    Hotkey hotkey = Hotkey::RightControl;
};

QString text(const Inputs& inputs);

} // namespace StatusTooltip
