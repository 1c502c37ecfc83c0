#pragma once

#include "platform/accessibility_repair.h"

#include <QStringList>

#include <functional>

class WorkQueue;

// Switches the session's accessibility bus on through D-Bus on a worker, and opens the desktop's
// accessibility settings through the given opener.
class SessionAccessibilityRepair final : public AccessibilityRepair {
public:
    // False when no settings program could be started for the panes.
    using OpenSettings = std::function<bool(const QStringList& panes)>;

    SessionAccessibilityRepair(WorkQueue& work, OpenSettings open);

    void switchOn() override;
    bool openSettings() override;

private:
    WorkQueue& m_work;
    OpenSettings m_open;
};
