#include "ui/overlay/placement/overlay_rules.h"

#include <gtest/gtest.h>

#include <optional>

// Each row differs from the rule above it by one input, so a rule out of order fails its row.
TEST(OverlayRules, ModeAndVisibilityFollowTheirRulesInOrder)
{
    struct Case {
        const char* name;
        std::optional<OverlayInputs> in;
        OverlayMode mode;
        bool shown;
    };
    using K = Phase::Kind;
    const Case cases[] = {
        // clang-format off
        {.name = "state gone", .in = std::nullopt, .mode = OverlayMode::Collapsed, .shown = true},
        {.name = "result over menu and hover", .in = OverlayInputs{.hovered = true, .translateOpen = true, .hasResult = true}, .mode = OverlayMode::Result, .shown = true},
        {.name = "dictation preview", .in = OverlayInputs{.translateOpen = true, .previewText = QStringLiteral("hi")}, .mode = OverlayMode::Result, .shown = true},
        {.name = "note preview", .in = OverlayInputs{.translateOpen = true, .hasNotePreview = true}, .mode = OverlayMode::Result, .shown = true},
        {.name = "menu over hover and work", .in = OverlayInputs{.phase = K::Listening, .hovered = true, .translateOpen = true}, .mode = OverlayMode::Menu, .shown = true},
        {.name = "hover alone does not show a hidden widget", .in = OverlayInputs{.hovered = true}, .mode = OverlayMode::Bar, .shown = false},
        {.name = "hover on a shown widget", .in = OverlayInputs{.hovered = true, .showWidget = true}, .mode = OverlayMode::Bar, .shown = true},
        {.name = "listening", .in = OverlayInputs{.phase = K::Listening}, .mode = OverlayMode::Bar, .shown = true},
        {.name = "outcome", .in = OverlayInputs{.phase = K::Failed}, .mode = OverlayMode::Bar, .shown = true},
        {.name = "drag", .in = OverlayInputs{.dragging = true}, .mode = OverlayMode::Collapsed, .shown = true},
        {.name = "idle, hidden", .in = OverlayInputs{}, .mode = OverlayMode::Collapsed, .shown = false},
        {.name = "idle, shown", .in = OverlayInputs{.showWidget = true}, .mode = OverlayMode::Collapsed, .shown = true},
        // clang-format on
    };
    for (const Case& c : cases) {
        EXPECT_EQ(OverlayRules::targetMode(c.in), c.mode) << c.name;
        EXPECT_EQ(OverlayRules::shouldShowPanel(c.in), c.shown) << c.name;
    }
}

// Work holds the hover (and the bar) after the pointer left; an outcome or a saved note must not,
// or the bar would stay open until the next hover.
TEST(OverlayRules, OnlyWorkInProgressHoldsTheHover)
{
    struct Case {
        const char* name;
        OverlayInputs in;
        bool holds;
    };
    using K = Phase::Kind;
    const Case cases[] = {
        {.name = "listening", .in = {.phase = K::Listening}, .holds = true},
        {.name = "transcribing", .in = {.phase = K::Transcribing}, .holds = true},
        {.name = "polishing", .in = {.phase = K::Polishing}, .holds = true},
        {.name = "translating", .in = {.phase = K::Translating}, .holds = true},
        {.name = "menu", .in = {.translateOpen = true}, .holds = true},
        {.name = "result", .in = {.hasResult = true}, .holds = true},
        {.name = "dictation preview", .in = {.previewText = QString()}, .holds = true},
        {.name = "done", .in = {.phase = K::Done}, .holds = false},
        {.name = "failed", .in = {.phase = K::Failed}, .holds = false},
        {.name = "notice", .in = {.phase = K::Notice}, .holds = false},
        {.name = "note preview", .in = {.hasNotePreview = true}, .holds = false},
        {.name = "idle", .in = {}, .holds = false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(OverlayRules::holdsHover(c.in), c.holds) << c.name;
}
