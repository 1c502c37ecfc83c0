#pragma once

#include "platform/permission_probe.h"

// Grants nothing until a test says otherwise.
class FakePermissionProbe final : public PermissionProbe {
public:
    bool microphoneAvailable() const override { return m_microphone; }
    bool accessibilityTrusted() const override { return m_accessibility; }
    bool answered() const override { return m_answered; }

    bool m_microphone = false;
    bool m_accessibility = false;
    bool m_answered = true;
};
