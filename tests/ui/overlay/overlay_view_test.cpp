#include "ui/overlay/overlay_fixture.h"

#include "ui/overlay/pill/icon_chip.h"
#include "ui/overlay/pill/listening_row.h"
#include "ui/overlay/pill/phase_content.h"

#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>

namespace {

using Card = OverlayView::Card;

class OverlayViewTest : public OverlayFixture {};

TEST_F(OverlayViewTest, WhatTheWidgetShowsFollowsTheState)
{
    struct Case {
        const char* name;
        std::function<void(AppState&, QuendaConfig&)> setup;
        bool expanded;
        bool showsPill;
        bool pinned;
        Card card;
    };
    const OverlayResult plain{s("summarize"), s("Short."), std::nullopt};
    const OverlayResult empty{s("summarize"), s("Short."), QList<OverlayResultChoice>{}};
    const OverlayResult choices{s("rewrite"), s("A"), QList<OverlayResultChoice>{{{}, s("A"), s("a")}}};
    const DictationPreview preview{s("words"), DictationPreviewStatus::Inserted, false};
    const SavedNotePreview note{};
    const Case cases[] = {
        // clang-format off
        {.name = "idle, widget hidden by the user", .setup = [](AppState&, QuendaConfig& c) { c.showWidget = false; }, .expanded = false, .showsPill = false, .pinned = false, .card = Card::None},
        {.name = "idle chip", .setup = [](AppState&, QuendaConfig& c) { c.showWidget = true; }, .expanded = false, .showsPill = true, .pinned = false, .card = Card::None},
        // Hovering alone does not show a widget the user hid.
        {.name = "hovered", .setup = [](AppState& s, QuendaConfig&) { s.setWidgetHovered(true); }, .expanded = true, .showsPill = false, .pinned = false, .card = Card::None},
        {.name = "listening", .setup = [](AppState& s, QuendaConfig&) { s.setPhase(Phase::listening()); }, .expanded = true, .showsPill = true, .pinned = false, .card = Card::None},
        {.name = "translate menu", .setup = [](AppState& s, QuendaConfig&) { s.setWidgetTranslateOpen(true); }, .expanded = true, .showsPill = true, .pinned = false, .card = Card::TranslateMenu},
        {.name = "result at a bottom anchor", .setup = [&](AppState& s, QuendaConfig& c) {s.setOverlayResult(plain); c.resultPlacementAnchor = ResultPlacementAnchor::BottomLeading; }, .expanded = true, .showsPill = false, .pinned = false, .card = Card::Result},
        {.name = "result with an empty choice list", .setup = [&](AppState& s, QuendaConfig&) { s.setOverlayResult(empty); }, .expanded = true, .showsPill = false, .pinned = true, .card = Card::Result},
        {.name = "choices", .setup = [&](AppState& s, QuendaConfig&) { s.setOverlayResult(choices); }, .expanded = true, .showsPill = false, .pinned = true, .card = Card::Choices},
        {.name = "preview while hovered", .setup = [&](AppState& s, QuendaConfig& c) {s.setWidgetHovered(true); s.setDictationPreview(preview); c.resultPlacementAnchor = ResultPlacementAnchor::TopTrailing; }, .expanded = false, .showsPill = false, .pinned = true, .card = Card::Preview},
        {.name = "note over a result", .setup = [&](AppState& s, QuendaConfig&) {s.setOverlayResult(plain); s.setNotePreview(note); }, .expanded = false, .showsPill = false, .pinned = true, .card = Card::NoteSaved},
        {.name = "top anchor, placement not fixed", .setup = [&](AppState& s, QuendaConfig& c) {s.setOverlayResult(plain); c.resultPlacementFixed = false; }, .expanded = true, .showsPill = false, .pinned = false, .card = Card::Result},
        // clang-format on
    };
    for (const Case& c : cases) {
        makeState();
        QuendaConfig config = state().config();
        config.showWidget = false;
        config.resultPlacementFixed = true;
        config.resultPlacementAnchor = ResultPlacementAnchor::TopCenter;
        c.setup(state(), config);
        state().setConfig(config);
        EXPECT_EQ(OverlayView::expanded(state()), c.expanded) << c.name;
        EXPECT_EQ(OverlayView::showsPill(state()), c.showsPill) << c.name;
        EXPECT_EQ(OverlayView::pinsCardToTop(state()), c.pinned) << c.name;
        EXPECT_EQ(OverlayView::cardFor(state()), c.card) << c.name;
    }
}

TEST_F(OverlayViewTest, NothingIsDrawnWhenTheWidgetIsHiddenAndIdle)
{
    change([](QuendaConfig& c) { c.showWidget = false; });
    const QImage image = renderTransparent(view());
    EXPECT_EQ(paintedPixels(image, image.rect()), 0);
    EXPECT_TRUE(view().hitRect().isEmpty());
}

TEST_F(OverlayViewTest, ThePillStandsOnTheBottomEdgeAboveThePadding)
{
    state().setPhase(Phase::transcribing());
    const QRect pillArea = pillRect();
    EXPECT_EQ(pillArea.bottom() + 1, panelSize.height() - OverlayView::bottomPadding);
    EXPECT_EQ(pillArea.center().x(), panelSize.width() / 2 - 1 + pillArea.width() % 2);
    // The soft shadow is painted just below the capsule.
    const QImage image = renderTransparent(view());
    EXPECT_GT(
        paintedPixels(image, QRect(pillArea.left() + 20, pillArea.bottom() + 1, pillArea.width() - 40, 3)),
        0);
}

TEST_F(OverlayViewTest, HoverAndDragsAreReportedAsSignals)
{
    state().setPhase(Phase::listening());
    OverlayView& v = view();
    QSignalSpy hover(&v, &OverlayView::hoverChanged);
    QSignalSpy drag(&v, &OverlayView::dragChanged);
    QSignalSpy ended(&v, &OverlayView::dragEnded);
    QWindow* window = v.windowHandle();
    ASSERT_NE(window, nullptr);
    const QRect pillArea = pillRect();
    const QPoint onPill(pillArea.left() + 40, pillArea.center().y());

    // The 10-point margin around the pill counts as the widget.
    QTest::mouseMove(window, QPoint(pillArea.left() - 5, pillArea.center().y()));
    QTest::mouseMove(window, onPill);
    QTest::mouseMove(window, QPoint(2, 2));
    ASSERT_EQ(hover.count(), 2);
    EXPECT_TRUE(hover.at(0).at(0).toBool());
    EXPECT_FALSE(hover.at(1).at(0).toBool());

    // A press that moves less than three points is no drag.
    QTest::mousePress(window, Qt::LeftButton, {}, onPill);
    QTest::mouseMove(window, onPill + QPoint(2, 0));
    EXPECT_EQ(drag.count(), 0);
    QTest::mouseMove(window, onPill + QPoint(6, 0));
    QTest::mouseMove(window, onPill + QPoint(9, 1));
    EXPECT_EQ(drag.count(), 2);
    QTest::mouseRelease(window, Qt::LeftButton, {}, onPill + QPoint(9, 1));
    EXPECT_EQ(ended.count(), 1);

    // The stop chip keeps working as a button and starts no drag.
    auto* row = qobject_cast<ListeningRow*>(pill().content()->row());
    ASSERT_NE(row, nullptr);
    const QPoint onStop = row->stopChip()->mapTo(&v, row->stopChip()->rect().center());
    QTest::mousePress(window, Qt::LeftButton, {}, onStop);
    QTest::mouseMove(window, onStop + QPoint(1, 0));
    QTest::mouseRelease(window, Qt::LeftButton, {}, onStop + QPoint(1, 0));
    EXPECT_EQ(m_commands.toggles, 1);
    EXPECT_EQ(drag.count(), 2);
    EXPECT_EQ(ended.count(), 1);
}

TEST_F(OverlayViewTest, AHiddenWidgetRunsNoTimer)
{
    AnimationsOn on;
    state().setPhase(Phase::listening());
    view();
    EXPECT_GT(m_clock.pendingCount(), 0) << "the recording dot should pulse";
    view().hide();
    EXPECT_EQ(m_clock.pendingCount(), 0);
    view().show();
    state().setPhase(Phase::transcribing());
    settle();
    EXPECT_GT(m_clock.pendingCount(), 0) << "the thinking wave should run";
    view().hide();
    EXPECT_EQ(m_clock.pendingCount(), 0);
}

TEST_F(OverlayViewTest, ThePillMorphsWithAnimationsOnAndJumpsWhileDragged)
{
    AnimationsOn on;
    change([](QuendaConfig& c) { c.showWidget = true; });
    view();
    EXPECT_EQ(pill().size(), PillView::chipSize());
    state().setWidgetHovered(true);
    EXPECT_EQ(pill().size(), PillView::chipSize());
    m_clock.advance(120);
    EXPECT_GT(pill().width(), PillView::chipSize().width());
    EXPECT_LT(pill().width(), 172 + 2);
    m_clock.advance(600);
    EXPECT_EQ(pill().size(), QSize(172, 38));
    EXPECT_EQ(m_clock.pendingCount(), 0) << "the morph ended but its timer runs on";

    state().setWidgetDragging(true);
    state().setPhase(Phase::listening());
    EXPECT_EQ(pill().size(), QSize(196, 38));
}

} // namespace
