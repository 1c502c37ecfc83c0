#pragma once

#include "platform/permission_probe.h"

// Permissions as a test sets them.
class FakePermissionProbe final : public PermissionProbe {
public:
    bool microphoneAvailable() const override { return m_microphone; }
    bool accessibilityTrusted() const override { return m_accessibility; }

    void setMicrophone(bool available) { m_microphone = available; }
    void setAccessibility(bool trusted) { m_accessibility = trusted; }

private:
    bool m_microphone = false;
    bool m_accessibility = false;
};
