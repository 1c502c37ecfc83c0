#pragma once

#include "platform/accessibility_repair.h"

// Counts the requests; whether settings can be opened is up to the test.
class FakeAccessibilityRepair final : public AccessibilityRepair {
public:
    void switchOn() override { ++switchOns; }
    bool openSettings() override
    {
        ++settingsOpened;
        return settingsKnown;
    }

    int switchOns = 0;
    int settingsOpened = 0;
    bool settingsKnown = true;
};
