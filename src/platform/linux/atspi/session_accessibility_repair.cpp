#include "platform/linux/atspi/session_accessibility_repair.h"

#include "core/base/work_queue.h"
#include "platform/desktop_launcher.h"
#include "platform/linux/atspi/accessibility_bus.h"

SessionAccessibilityRepair::SessionAccessibilityRepair(WorkQueue& work, OpenSettings open)
    : m_work(work)
    , m_open(std::move(open))
{
}

void SessionAccessibilityRepair::switchOn()
{
    // The first call may wait seconds for D-Bus to start the bus launcher.
    m_work.post([] { AccessibilityBus::enable(); });
}

bool SessionAccessibilityRepair::openSettings()
{
    return m_open({DesktopLauncher::accessibilityPane});
}
