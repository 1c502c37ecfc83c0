#include "core/state/state_fixture.h"
#include "ui/overlay/geometry_printer.h"

#include "core/model/display_id.h"
#include "platform/fake/fake_floating_windows.h"
#include "ui/overlay/placement/overlay_controller.h"
#include "ui/overlay/placement/overlay_panel.h"
#include "ui/overlay/placement/qt_screen_source.h"

#include <QCursor>
#include <QGuiApplication>
#include <QScreen>

// Qt's own screens, from the offscreen platform's configuration (two_screens.json): a 1280x800
// laptop and a 1024x768 monitor right of it, 200 pixels higher.
class OverlayOnQtScreens : public StateFixture {
protected:
    void SetUp() override
    {
        StateFixture::SetUp();
        ASSERT_EQ(QGuiApplication::screens().size(), 2)
            << "needs QT_QPA_PLATFORM=offscreen:configfile=two_screens.json";
    }

    QtScreenSource m_screens;
    FakeFloatingWindows m_windows;
};

TEST_F(OverlayOnQtScreens, ScreensArriveUpsideDownAroundThePrimaryWithTheirNamesIds)
{
    const QList<ScreenRecord> screens = m_screens.screens();
    ASSERT_EQ(screens.size(), 2);
    EXPECT_EQ(screens[0], (ScreenRecord{.id = DisplayId::of(s("laptop")),
                                        .frame = {0, 0, 1280, 800},
                                        .visibleFrame = {0, 0, 1280, 800}}));
    EXPECT_EQ(screens[1], (ScreenRecord{.id = DisplayId::of(s("monitor")),
                                        .frame = {1280, 232, 1024, 768},
                                        .visibleFrame = {1280, 232, 1024, 768}}));
}

TEST_F(OverlayOnQtScreens, ADictationOnTheOtherScreenPutsTheBarAtItsBottomCentre)
{
    makeStateWith([](QuendaConfig& c) { c.widgetFollowActiveScreen = true; });
    QCursor::setPos(1500, 100);
    OverlayController controller(state(), {.clock = m_clock, .screens = m_screens, .windows = m_windows});
    state().setPhase(Phase::listening());

    const QRect frame = controller.panel().geometry();
    // Qt's y grows downward: the monitor's bottom edge is at 568.
    EXPECT_EQ(frame, QRect(1280 + 512 - 114, 568 - 12 - 72, 228, 72));
    EXPECT_EQ(QGuiApplication::screenAt(frame.center())->name(), s("monitor"));
    EXPECT_TRUE(controller.panel().isVisible());
}
