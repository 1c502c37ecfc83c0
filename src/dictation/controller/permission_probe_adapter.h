#pragma once

#include "dictation/controller/microphone_access.h"

class PermissionProbe;

// MicrophoneAccess over PermissionProbe. The desktop never asks the user about the microphone: one
// is there to record from, or not.
class PermissionProbeAdapter final : public MicrophoneAccess {
public:
    explicit PermissionProbeAdapter(const PermissionProbe& probe)
        : m_probe(probe)
    {
    }

    Status status() const override;
    void request(QObject* context, std::function<void(bool granted)> done) override;

private:
    const PermissionProbe& m_probe;
};
