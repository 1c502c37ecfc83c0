#pragma once

// What the repair of text access asks of the desktop. Called on the main thread; never blocks it.
class AccessibilityRepair {
public:
    virtual ~AccessibilityRepair() = default;

    // Switches the session's accessibility on in the background; the permission poll sees the outcome.
    virtual void switchOn() = 0;
    // Opens the desktop's accessibility settings; false when no settings program is known here.
    virtual bool openSettings() = 0;
};
