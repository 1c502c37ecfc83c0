#include "test_text.h"
#include "ui/overlay/geometry_printer.h"

#include "ui/overlay/placement/widget_placement.h"

#include <gtest/gtest.h>

#include <optional>

namespace {

// Bottom-up. The laptop is the primary, with a 40-point dock below and a 25-point panel above; the
// monitor left of it starts at negative coordinates and sits lower.
const ScreenRecord laptop{.id = 1, .frame = {0, 0, 1440, 900}, .visibleFrame = {0, 40, 1440, 835}};
const ScreenRecord leftMonitor{
    .id = 2, .frame = {-1920, -180, 1920, 1080}, .visibleFrame = {-1920, -180, 1920, 1080}};
const QList<ScreenRecord> both{laptop, leftMonitor};

const QRectF chipOnLaptop(688, 52, 64, 48);
const QRectF chipOnLeft(-992, 300, 64, 48);
const QRectF chipNowhere(5000, 5000, 64, 48);

const QSizeF chip(64, 48);
const QSizeF bar(228, 72);
const QSizeF card(520, 560);

std::optional<quint32> idOf(const std::optional<ScreenRecord>& screen)
{
    return screen ? std::optional<quint32>(screen->id) : std::nullopt;
}

} // namespace

TEST(WidgetPlacement, TheChipSitsAtItsHomeOnTheHomeScreen)
{
    struct Case {
        const char* name;
        OverlayInputs in;
        QRectF panel;
        QSizeF size;
        QRectF frame;
    };
    const Case cases[] = {
        // clang-format off
        {.name = "no stored home: centred 12 above the dock", .in = {}, .panel = chipOnLaptop, .size = chip, .frame = {688, 52, 64, 48}},
        {.name = "stored home on a monitor at negative coordinates", .in = {.widgetX = 0.5, .widgetY = 0.25, .widgetDisplayID = 2}, .panel = chipOnLaptop, .size = chip, .frame = {-992, 90, 64, 48}},
        {.name = "only one fraction stored is no home", .in = {.widgetX = 0.1, .widgetDisplayID = 2}, .panel = chipOnLaptop, .size = chip, .frame = {-992, -168, 64, 48}},
        {.name = "home display disconnected: the screen under the panel", .in = {.widgetX = 0.5, .widgetY = 0.5, .widgetDisplayID = 99}, .panel = chipOnLeft, .size = chip, .frame = {-992, 360, 64, 48}},
        {.name = "home display disconnected, panel on no screen: the primary", .in = {.widgetX = 0.5, .widgetY = 0.5, .widgetDisplayID = 99}, .panel = chipNowhere, .size = chip, .frame = {688, 458, 64, 48}},
        {.name = "an id beyond 32 bits names no display, not the one it truncates to", .in = {.widgetX = 0.5, .widgetY = 0.5, .widgetDisplayID = 2 + (qint64(1) << 32)}, .panel = chipOnLaptop, .size = chip, .frame = {688, 458, 64, 48}},
        {.name = "home above the top is kept 8 below it", .in = {.widgetX = 0.5, .widgetY = 1.5, .widgetDisplayID = 1}, .panel = chipOnLaptop, .size = chip, .frame = {688, 819, 64, 48}},
        {.name = "home below the bottom hangs 18 below the visible frame at most", .in = {.widgetX = 0.5, .widgetY = -1, .widgetDisplayID = 1}, .panel = chipOnLaptop, .size = chip, .frame = {688, 22, 64, 48}},
        // clang-format on
    };
    for (const Case& c : cases) {
        const WidgetPlacement placement(both, {}, c.panel, c.in);
        EXPECT_EQ(placement.frame(c.size, OverlayMode::Collapsed, {}), c.frame) << c.name;
    }
}

// The chip is kept where the bar fits, so growing into the bar does not move the widget's centre.
TEST(WidgetPlacement, AChipAtTheLeftEdgeKeepsItsCentreWhenItGrowsIntoTheBar)
{
    const WidgetPlacement placement(both, {}, chipOnLaptop,
                                    OverlayInputs{.widgetX = 0, .widgetY = 0, .widgetDisplayID = 1});
    const auto collapsed = placement.frame(chip, OverlayMode::Collapsed, {});
    const auto grown = placement.frame(bar, OverlayMode::Bar, {});
    ASSERT_TRUE(collapsed && grown);
    EXPECT_EQ(collapsed->center().x(), 8 + 114);
    EXPECT_EQ(grown->center().x(), 8 + 114);
    EXPECT_EQ(grown->x(), 8);
}

TEST(WidgetPlacement, AScreenNarrowerThanThePanelKeepsItsRightMargin)
{
    const ScreenRecord narrow{.id = 5, .frame = {0, 0, 200, 300}, .visibleFrame = {0, 0, 200, 300}};
    const WidgetPlacement placement({narrow}, {}, {}, OverlayInputs{});
    EXPECT_EQ(placement.frame(bar, OverlayMode::Bar, {}), QRectF(200 - 8 - 228, 12, 228, 72));
}

TEST(WidgetPlacement, PlacementTakesTheFirstRuleThatApplies)
{
    const ScreenRecord wide{.id = 7, .frame = {0, 0, 1600, 1000}, .visibleFrame = {0, 40, 1600, 930}};
    struct Case {
        const char* name;
        OverlayInputs in;
        FollowTarget follow;
        QPointF pointer;
        QPointF point;
    };
    const FollowTarget followPointer{.displayID = 7};
    const Case cases[] = {
        // clang-format off
        {.name = "a card pinned to a corner", .in = {.previewText = s("hi"), .resultPlacementFixed = true}, .follow = followPointer, .pointer = {800, 100}, .point = {800, 56}},
        {.name = "a preview clear of the pointer", .in = {.previewText = s("hi"), .resultPlacementFixed = false}, .follow = followPointer, .pointer = {800, 100}, .point = {800, 140}},
        {.name = "no follow target: home", .in = {.phase = Phase::Kind::Listening}, .follow = {}, .pointer = {800, 100}, .point = {800, 52}},
        {.name = "following: home's place, not the pointer's", .in = {.phase = Phase::Kind::Listening}, .follow = followPointer, .pointer = {500, 500}, .point = {800, 52}},
        {.name = "following: a stored home's fractions", .in = {.phase = Phase::Kind::Listening, .widgetX = 0.25, .widgetY = 0.5, .widgetDisplayID = 99}, .follow = followPointer, .pointer = {3, 500}, .point = {400, 505}},
        {.name = "a result keeps its anchor", .in = {.hasResult = true, .resultPlacementFixed = false}, .follow = {.displayID = 7, .anchor = QPointF(300, 200)}, .pointer = {1200, 800}, .point = {300, 200}},
        // clang-format on
    };
    for (const Case& c : cases) {
        const WidgetPlacement placement({wide}, c.pointer, {}, c.in);
        const auto spot = placement.resolvedPlacement({300, 100}, c.follow);
        ASSERT_TRUE(spot) << c.name;
        EXPECT_EQ(spot->point, c.point) << c.name;
    }
}

TEST(WidgetPlacement, PinnedCardsSit16InsideTheirCorner)
{
    struct Case {
        ResultPlacementAnchor anchor;
        QPointF point;
    };
    const Case cases[] = {
        {.anchor = ResultPlacementAnchor::TopLeading, .point = {276, 299}},
        {.anchor = ResultPlacementAnchor::TopCenter, .point = {720, 299}},
        {.anchor = ResultPlacementAnchor::TopTrailing, .point = {1164, 299}},
        {.anchor = ResultPlacementAnchor::BottomLeading, .point = {276, 56}},
        {.anchor = ResultPlacementAnchor::BottomCenter, .point = {720, 56}},
        {.anchor = ResultPlacementAnchor::BottomTrailing, .point = {1164, 56}},
    };
    for (const Case& c : cases) {
        const WidgetPlacement placement(both, {}, chipOnLaptop,
                                        OverlayInputs{.hasResult = true, .resultPlacementAnchor = c.anchor});
        const auto spot = placement.fixedResultPlacement(card);
        ASSERT_TRUE(spot) << qPrintable(ResultPlacementAnchorText::table.text(c.anchor));
        EXPECT_EQ(spot->point, c.point) << qPrintable(ResultPlacementAnchorText::table.text(c.anchor));
        EXPECT_EQ(spot->screen.id, 1u) << qPrintable(ResultPlacementAnchorText::table.text(c.anchor));
    }
}

TEST(WidgetPlacement, PinnedCardsGoToTheChosenScreenElseHome)
{
    struct Case {
        QString choice;
        QPointF pointer;
        quint32 screen;
    };
    const Case cases[] = {
        {.choice = s("pointer"), .pointer = {-100, 100}, .screen = 2},
        {.choice = s("pointer"), .pointer = {9000, 100}, .screen = 1}, // pointer on no screen
        {.choice = s(""), .pointer = {-100, 100}, .screen = 1},
        {.choice = s("2"), .pointer = {100, 100}, .screen = 2},
        {.choice = s("77"), .pointer = {-100, 100}, .screen = 1}, // not connected
        {.choice = s("left"), .pointer = {-100, 100}, .screen = 1},
        {.choice = s("-2"), .pointer = {-100, 100}, .screen = 1},
    };
    for (const Case& c : cases) {
        const WidgetPlacement placement(both, c.pointer, chipOnLaptop,
                                        OverlayInputs{.hasResult = true, .resultPlacementScreen = c.choice});
        EXPECT_EQ(idOf(placement.resolvedResultScreen()), c.screen) << qPrintable(c.choice);
    }
}

// The candidates go below the pointer, above it, to the other half of the screen, and when none is
// clear to the bottom centre. Touching the square's edge counts as clear.
TEST(WidgetPlacement, APreviewMovesOutOfThePointersSquareInTheCandidatesOrder)
{
    const ScreenRecord wide{.id = 1, .frame = {0, 0, 1600, 1000}, .visibleFrame = {0, 40, 1600, 930}};
    const ScreenRecord shortScreen{.id = 1, .frame = {0, 0, 1600, 340}, .visibleFrame = {0, 40, 1600, 300}};
    const ScreenRecord tiny{.id = 1, .frame = {0, 0, 400, 340}, .visibleFrame = {0, 40, 400, 300}};
    struct Case {
        const char* name;
        ScreenRecord screen;
        QSizeF size;
        QPointF preferred;
        QPointF pointer;
        QPointF point;
    };
    const Case cases[] = {
        // clang-format off
        {.name = "preferred is clear", .screen = wide, .size = {300, 100}, .preferred = {800, 52}, .pointer = {200, 500}, .point = {800, 52}},
        {.name = "below the pointer", .screen = wide, .size = {300, 100}, .preferred = {800, 505}, .pointer = {800, 550}, .point = {800, 410}},
        {.name = "above the pointer when below is off the screen", .screen = wide, .size = {300, 100}, .preferred = {800, 52}, .pointer = {800, 100}, .point = {800, 140}},
        {.name = "right half when the pointer is in the left half", .screen = shortScreen, .size = {300, 200}, .preferred = {800, 52}, .pointer = {700, 190}, .point = {1442, 52}},
        {.name = "left half when the pointer is in the right half", .screen = shortScreen, .size = {300, 200}, .preferred = {800, 52}, .pointer = {900, 190}, .point = {158, 52}},
        {.name = "nothing clear: bottom centre", .screen = tiny, .size = {300, 200}, .preferred = {0, 190}, .pointer = {200, 190}, .point = {200, 52}},
        // clang-format on
    };
    for (const Case& c : cases) {
        const WidgetPlacement placement({c.screen}, c.pointer, {}, OverlayInputs{});
        const auto spot = placement.placementClearOfWorkArea(c.preferred, c.size, c.screen);
        EXPECT_EQ(spot.point, c.point) << c.name;
    }
}

TEST(WidgetPlacement, ClampingKeepsMarginsAndAnEmptyRangeGivesItsLowerBound)
{
    EXPECT_EQ(WidgetPlacement::clamped({-50, 0}, chip, laptop.visibleFrame), QPointF(8, 22));
    EXPECT_EQ(WidgetPlacement::clamped({5000, 5000}, chip, laptop.visibleFrame),
              QPointF(1440 - 64 - 8, 875 - 48 - 8));
    EXPECT_EQ(WidgetPlacement::clamped({100, 100}, chip, {0, 0, 50, 30}), QPointF(8, -18));
}

TEST(WidgetPlacement, ADragsEndIsStoredAsFractionsOfTheScreenItEndedOn)
{
    struct Case {
        const char* name;
        std::optional<OverlayInputs> in;
        QList<ScreenRecord> screens;
        QPointF point;
        std::optional<WidgetPlacement::Home> home;
    };
    const ScreenRecord sliver{.id = 9, .frame = {0, 0, 1, 900}, .visibleFrame = {0, 0, 1, 900}};
    const Case cases[] = {
        // clang-format off
        {.name = "on the laptop's dock edge", .in = OverlayInputs{}, .screens = both, .point = {720, 40}, .home = WidgetPlacement::Home{.x = 0.5, .y = 0, .displayID = 1}},
        {.name = "on the left monitor", .in = OverlayInputs{}, .screens = both, .point = {-960, 360}, .home = WidgetPlacement::Home{.x = 0.5, .y = 0.5, .displayID = 2}},
        {.name = "off every screen: the panel's screen, unclamped", .in = OverlayInputs{}, .screens = both, .point = {2160, 457.5}, .home = WidgetPlacement::Home{.x = 1.5, .y = 0.5, .displayID = 1}},
        {.name = "a screen too small to divide", .in = OverlayInputs{}, .screens = {sliver}, .point = {0, 10}, .home = {}},
        {.name = "state gone", .in = std::nullopt, .screens = both, .point = {720, 40}, .home = {}},
        {.name = "no screen", .in = OverlayInputs{}, .screens = {}, .point = {720, 40}, .home = {}},
        // clang-format on
    };
    for (const Case& c : cases) {
        const auto home = WidgetPlacement(c.screens, {}, chipOnLaptop, c.in).homeAt(c.point);
        ASSERT_EQ(home.has_value(), c.home.has_value()) << c.name;
        if (!home)
            continue;
        EXPECT_DOUBLE_EQ(home->x, c.home->x) << c.name;
        EXPECT_DOUBLE_EQ(home->y, c.home->y) << c.name;
        EXPECT_EQ(home->displayID, c.home->displayID) << c.name;
    }
}

TEST(WidgetPlacement, TheWidgetFollowsTheActiveScreenOnlyWhileInUse)
{
    using K = Phase::Kind;
    struct Case {
        const char* name;
        OverlayInputs in;
        FollowTarget current;
        QPointF pointer;
        FollowTarget follow;
    };
    const QPointF onLeft(-100, 100);
    const Case cases[] = {
        // clang-format off
        {.name = "idle", .in = {}, .current = {}, .pointer = onLeft, .follow = {}},
        {.name = "dictating: the pointer's screen", .in = {.phase = K::Listening}, .current = {.displayID = 1, .anchor = QPointF(1, 1)}, .pointer = onLeft, .follow = {.displayID = 2}},
        {.name = "dictating, pointer on no screen", .in = {.phase = K::Listening}, .current = {}, .pointer = {9000, 0}, .follow = {}},
        {.name = "a new result anchors where the panel is", .in = {.hasResult = true, .resultPlacementFixed = false}, .current = {}, .pointer = onLeft, .follow = {.displayID = 1, .anchor = QPointF(720, 52)}},
        {.name = "a shown result keeps its anchor", .in = {.hasResult = true, .resultPlacementFixed = false}, .current = {.displayID = 2, .anchor = QPointF(-500, 500)}, .pointer = {700, 400}, .follow = {.displayID = 2, .anchor = QPointF(-500, 500)}},
        {.name = "an anchor off every screen takes the pointer's", .in = {.hasResult = true, .resultPlacementFixed = false}, .current = {.anchor = QPointF(9000, 0)}, .pointer = onLeft, .follow = {.displayID = 2, .anchor = QPointF(9000, 0)}},
        {.name = "a pinned result", .in = {.hasResult = true, .resultPlacementFixed = true}, .current = {}, .pointer = onLeft, .follow = {}},
        {.name = "a dictation preview", .in = {.phase = K::Listening, .previewText = s("hi")}, .current = {}, .pointer = onLeft, .follow = {}},
        {.name = "a note preview", .in = {.phase = K::Listening, .hasNotePreview = true}, .current = {}, .pointer = onLeft, .follow = {}},
        {.name = "following switched off", .in = {.phase = K::Listening, .followActiveScreen = false}, .current = {}, .pointer = onLeft, .follow = {}},
        // clang-format on
    };
    for (const Case& c : cases) {
        const WidgetPlacement placement(both, c.pointer, chipOnLaptop, c.in);
        EXPECT_EQ(placement.followTarget(c.current), c.follow) << c.name;
    }
}

TEST(WidgetPlacement, WithoutScreensNothingIsPlaced)
{
    const WidgetPlacement placement({}, {}, chipOnLaptop, OverlayInputs{.hasResult = true});
    EXPECT_FALSE(placement.homeScreen());
    EXPECT_FALSE(placement.frame(chip, OverlayMode::Collapsed, {}));
    EXPECT_FALSE(placement.frame(card, OverlayMode::Result, {.displayID = 1, .anchor = QPointF(1, 1)}));
    EXPECT_FALSE(WidgetPlacement({}, {}, chipOnLaptop, OverlayInputs{.dragging = true})
                     .frame(chip, OverlayMode::Bar, {}));
}
