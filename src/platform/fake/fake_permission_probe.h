#pragma once

#include "platform/permission_probe.h"

// Grants nothing.
class FakePermissionProbe final : public PermissionProbe {
public:
    bool microphoneAvailable() const override { return false; }
    bool accessibilityTrusted() const override { return false; }
};
