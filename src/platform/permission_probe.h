#pragma once

// Whether the desktop grants what dictation needs. Read on the main thread; answers must be cheap,
// the permission poll asks every 0.8 s.
class PermissionProbe {
public:
    virtual ~PermissionProbe() = default;

    // A microphone can be recorded from.
    virtual bool microphoneAvailable() const = 0;
    // Focused text can be read and written and key chords can be posted.
    virtual bool accessibilityTrusted() const = 0;
    // Whether both answers come from a first reading; a probe that reads in the background says
    // false meanwhile.
    virtual bool answered() const { return true; }
};
