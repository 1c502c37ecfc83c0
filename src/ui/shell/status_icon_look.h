#pragma once

#include "core/model/phase.h"

// What the status item shows for a phase and the update offer.
struct StatusIconLook {
    enum class Symbol { Waveform, Busy };

    Symbol symbol = Symbol::Waveform;
    bool badge = false;
    bool tinted = false;

    static StatusIconLook of(const Phase& phase, bool releaseOffered, bool dismissed);

    friend bool operator==(const StatusIconLook&, const StatusIconLook&) = default;
};
