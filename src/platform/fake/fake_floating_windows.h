#pragma once

#include "platform/floating_windows.h"

#include <QList>

// Records the windows asked onto every workspace; compositing is whatever the test sets.
class FakeFloatingWindows final : public FloatingWindows {
public:
    bool keepOnAllWorkspaces(quintptr window) override
    {
        m_kept.append(window);
        return true;
    }
    bool compositing(quintptr) const override { return m_compositing; }
    bool outsideManager() const override { return false; }

    void setCompositing(bool compositing) { m_compositing = compositing; }
    const QList<quintptr>& kept() const { return m_kept; }

private:
    bool m_compositing = true;
    QList<quintptr> m_kept;
};
