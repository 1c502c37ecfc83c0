#pragma once

#include <QString>

// Why a request to the engine failed. `message` is ready for display; for Engine it is the
// engine's own "error" text, passed on untranslated.
struct EngineError {
    enum class Kind {
        Engine,    // a reply outside 200-299, or one that is not HTTP
        Transport, // refused, reset, host unreachable
        TimedOut,
        Decoding,    // a 200-299 reply that is not the expected record
        InvalidPort, // the port cannot form an engine address
        Untrusted,   // what answers on the port is not the engine we started, or nothing proved it is
    };

    Kind kind = Kind::Engine;
    QString message;

    friend bool operator==(const EngineError&, const EngineError&) = default;
};
