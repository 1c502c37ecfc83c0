#pragma once

#include "ui/overlay/placement/screen_source.h"

#include <utility>

// Screens and a pointer a test sets by hand, in the widget's coordinates; the first screen is the
// primary, its bottom at Qt's y = its height.
class FakeScreenSource final : public ScreenSource {
public:
    explicit FakeScreenSource(QList<ScreenRecord> screens = {})
        : m_screens(std::move(screens))
    {
    }

    QList<ScreenRecord> screens() const override { return m_screens; }
    QPointF pointer() const override { return m_pointer; }
    ScreenSpace space() const override
    {
        return ScreenSpace(m_screens.isEmpty() ? 0 : int(m_screens.front().frame.height()));
    }

    // Replaces the screens and says so, as Qt does when a monitor comes or goes.
    void setScreens(QList<ScreenRecord> screens)
    {
        m_screens = std::move(screens);
        emit screensChanged();
    }
    void setPointer(QPointF pointer) { m_pointer = pointer; }

private:
    QList<ScreenRecord> m_screens;
    QPointF m_pointer;
};
