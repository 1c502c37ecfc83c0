#include "test_text.h"
#include "ui/overlay/geometry_printer.h"

#include "core/model/display_id.h"
#include "ui/overlay/placement/screen_space.h"
#include "ui/overlay/placement/widget_placement.h"

#include <gtest/gtest.h>

#include <optional>

namespace {

// Qt: the primary 1280x800 at the origin, a 1024x768 screen below it.
const QRect primaryQt(0, 0, 1280, 800);
const QRect belowQt(0, 800, 1024, 768);
const ScreenSpace flip(800);

QList<ScreenRecord> records()
{
    return {{.id = 1, .frame = flip.fromGlobal(primaryQt), .visibleFrame = flip.fromGlobal(primaryQt)},
            {.id = 2, .frame = flip.fromGlobal(belowQt), .visibleFrame = flip.fromGlobal(belowQt)}};
}

} // namespace

// An off-by-one in the flip puts the pointer on the neighbouring screen at their shared edge, and
// the widget follows it to the wrong screen.
TEST(ScreenSpace, APointerOnAScreensEdgeRowStaysOnThatScreen)
{
    struct Case {
        const char* name;
        QPoint pointer;
        std::optional<quint32> screen;
    };
    const Case cases[] = {
        {.name = "primary's top row", .pointer = {10, 0}, .screen = 1},
        {.name = "primary's bottom row", .pointer = {10, 799}, .screen = 1},
        {.name = "lower screen's top row", .pointer = {10, 800}, .screen = 2},
        {.name = "lower screen's bottom row", .pointer = {10, 1567}, .screen = 2},
        {.name = "primary's last column", .pointer = {1279, 400}, .screen = 1},
        {.name = "right of the primary", .pointer = {1280, 400}, .screen = std::nullopt},
        {.name = "right of the lower screen", .pointer = {1024, 900}, .screen = std::nullopt},
    };
    const WidgetPlacement placement(records(), {}, {}, std::nullopt);
    for (const Case& c : cases) {
        const auto screen = placement.screenContaining(flip.fromGlobal(c.pointer));
        EXPECT_EQ(screen ? std::optional<quint32>(screen->id) : std::nullopt, c.screen) << c.name;
    }
}

TEST(ScreenSpace, FramesGoBackToTheQtRectanglesTheyCameFrom)
{
    for (const QRect& rect : {primaryQt, belowQt, QRect(-300, -40, 228, 72), QRect(5, 731, 64, 48)})
        EXPECT_EQ(flip.toGlobal(flip.fromGlobal(rect)), rect);
}

// A stored home names its display by this id in the next run too; a per-process seeded hash
// would lose every stored home at each start.
TEST(DisplayId, IsTheFnv1aHashOfTheNameSoEveryRunAgrees)
{
    EXPECT_EQ(DisplayId::of(s("a")), 0xe40c292cu);
    EXPECT_EQ(DisplayId::of(s("foobar")), 0xbf9cf968u);
}

TEST(DisplayId, TellsMonitorsOnOneConnectorApartByTheirSerialNumbers)
{
    EXPECT_NE(DisplayId::of(s("DP-1"), s("A1")), DisplayId::of(s("DP-1"), s("A2")));
    EXPECT_NE(DisplayId::of(s("DP-1"), s("A1")), DisplayId::of(s("DP-1")));
    EXPECT_NE(DisplayId::of(s("DP-1")), DisplayId::of(s("DP-2")));
}
