#include "core/state/state_fixture.h"
#include "ui/overlay/geometry_printer.h"

#include "fake_screen_source.h"
#include "platform/fake/fake_floating_windows.h"
#include "ui/overlay/placement/overlay_controller.h"
#include "ui/overlay/placement/overlay_panel.h"

#include <QApplication>
#include <QEnterEvent>
#include <QPainter>
#include <QSignalSpy>

#include <memory>

namespace {

// Bottom-up: the laptop is the primary, with a dock below; the monitor right of it is taller.
const ScreenRecord laptop{.id = 11, .frame = {0, 0, 1440, 900}, .visibleFrame = {0, 40, 1440, 835}};
const ScreenRecord external{.id = 22, .frame = {1440, 0, 1920, 1080}, .visibleFrame = {1440, 0, 1920, 1080}};

const QRectF chipAtHome(688, 52, 64, 48);
const QRectF barAtHome(606, 52, 228, 72);
const QPointF onChip(720, 60);

OverlayResult answer()
{
    return {.command = QStringLiteral("shorten"), .text = QStringLiteral("Shorter."), .choices = {}};
}

// Every size and every show of the panel, in order, with the geometry it was shown at.
class PanelWatch final : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (auto* panel = qobject_cast<OverlayPanel*>(watched)) {
            if (event->type() == QEvent::Show)
                shownAt.append(panel->geometry());
            if (event->type() == QEvent::Resize)
                sizes.append(panel->size());
        }
        return false;
    }

    QList<QRect> shownAt;
    QList<QSize> sizes;
};

// A root view that reports the pointer over its visible content, and changes to its outline, itself.
class ReportingView final : public QWidget {
    Q_OBJECT

public:
    bool painted = false;

signals:
    void hoverChanged(bool hovered);
    void dragChanged();
    void dragEnded();
    void outlineChanged();

protected:
    void paintEvent(QPaintEvent*) override
    {
        if (painted)
            QPainter(this).fillRect(rect(), Qt::darkGray);
    }
};

} // namespace

class OverlayControllerTest : public StateFixture {
protected:
    void TearDown() override
    {
        m_controller.reset();
        StateFixture::TearDown();
    }

    // The widget at home on the laptop, shown while idle, following no screen, regular cards not
    // pinned (pinned: at the bottom centre).
    OverlayController& make(const std::function<void(QuendaConfig&)>& change = {})
    {
        makeStateWith([&](QuendaConfig& c) {
            c.showWidget = true;
            c.widgetFollowActiveScreen = false;
            c.overlayResultSize = OverlayResultSize::Regular;
            c.resultPlacementFixed = false;
            c.resultPlacementAnchor = ResultPlacementAnchor::BottomCenter;
            if (change)
                change(c);
        });
        return start();
    }
    // The controller over the state as it stands.
    OverlayController& start()
    {
        m_controller = std::make_unique<OverlayController>(
            state(),
            OverlayController::Services{.clock = m_clock, .screens = m_screens, .windows = m_windows});
        return *m_controller;
    }
    OverlayPanel& panel() const { return m_controller->panel(); }
    // The panel's frame in the widget's coordinates.
    QRectF frame() const { return m_screens.space().fromGlobal(panel().geometry()); }

    FakeScreenSource m_screens{{laptop, external}};
    FakeFloatingWindows m_windows;
    std::unique_ptr<OverlayController> m_controller;
};

TEST_F(OverlayControllerTest, WorkGrowsThePanelAtOnceAndItsEndShrinksItAfterTheDelay)
{
    make();
    EXPECT_EQ(frame(), chipAtHome);
    EXPECT_TRUE(panel().isVisible());

    state().setPhase(Phase::listening());
    EXPECT_EQ(frame(), barAtHome);

    state().setPhase(Phase::idle());
    m_clock.advance(OverlayController::shrinkDelayMs - 1);
    EXPECT_EQ(frame(), barAtHome);
    m_clock.advance(1);
    EXPECT_EQ(frame(), chipAtHome);
}

// A shrink left pending from the first drop would fire at 0.42 s although the bar was needed again
// in between; the second drop has its own full delay.
TEST_F(OverlayControllerTest, ADropReversedWithinTheDelayNeverShrinksThePanel)
{
    make();
    state().setPhase(Phase::listening());
    PanelWatch watch;
    panel().installEventFilter(&watch);

    state().setPhase(Phase::idle());
    m_clock.advance(300);
    state().setPhase(Phase::listening());
    m_clock.advance(100);
    state().setPhase(Phase::idle());
    m_clock.advance(300);
    EXPECT_EQ(frame(), barAtHome);
    EXPECT_FALSE(watch.sizes.contains(QSize(64, 48)));

    m_clock.advance(OverlayController::shrinkDelayMs - 300);
    EXPECT_EQ(frame(), chipAtHome);
}

// During a drag the state's changes re-evaluate nothing, so a shrink falling due then must look
// again at what the state asks for.
TEST_F(OverlayControllerTest, AShrinkFallingDueDuringADragChecksTheStateAgain)
{
    make();
    m_screens.setPointer(onChip);
    state().setPhase(Phase::listening());
    state().setPhase(Phase::idle());
    m_controller->dragChanged();
    state().setPhase(Phase::listening());
    m_clock.advance(1000);
    EXPECT_EQ(panel().size(), QSize(228, 72));
}

TEST_F(OverlayControllerTest, HoverOutAndBackWithinTheDelayChangesNothing)
{
    make();
    m_screens.setPointer(onChip);
    m_controller->setHovered(true);
    ASSERT_EQ(frame(), barAtHome);
    QSignalSpy hoverChanges(&state(), &AppState::widgetHoveredChanged);

    m_controller->setHovered(false);
    m_clock.advance(OverlayController::leaveDelayMs - 1);
    m_controller->setHovered(true);
    m_clock.advance(1000);
    EXPECT_EQ(hoverChanges.count(), 0);
    EXPECT_EQ(frame(), barAtHome);

    m_controller->setHovered(false);
    m_clock.advance(OverlayController::leaveDelayMs);
    EXPECT_FALSE(state().widgetHovered());
    m_clock.advance(OverlayController::shrinkDelayMs);
    EXPECT_EQ(frame(), chipAtHome);
}

TEST_F(OverlayControllerTest, ThePointerLeavingDuringWorkReleasesTheHoverWhenTheWorkEnds)
{
    struct Row {
        const char* name;
        bool exitReported; // X11 may never report the exit of a pointer that left during work
    };
    const Row rows[] = {{.name = "exit reported", .exitReported = true},
                        {.name = "exit never reported", .exitReported = false}};
    for (const Row& row : rows) {
        make();
        m_screens.setPointer(onChip);
        m_controller->setHovered(true);
        state().setPhase(Phase::listening());
        m_screens.setPointer(QPointF(200, 500));
        if (row.exitReported)
            m_controller->setHovered(false);
        m_clock.advance(1000);
        EXPECT_TRUE(state().widgetHovered()) << row.name;

        state().setPhase(Phase::idle());
        EXPECT_FALSE(state().widgetHovered()) << row.name;
    }
}

TEST_F(OverlayControllerTest, AHiddenWidgetStaysHiddenWhenHoveredAndShowsForACard)
{
    make([](QuendaConfig& c) { c.showWidget = false; });
    m_screens.setPointer(onChip);
    EXPECT_FALSE(panel().isVisible());
    m_controller->setHovered(true);
    EXPECT_FALSE(panel().isVisible());

    state().setOverlayResult(answer());
    EXPECT_TRUE(panel().isVisible());
    EXPECT_EQ(frame(), QRectF(460, 52, 520, 560));

    state().setOverlayResult(std::nullopt);
    EXPECT_FALSE(panel().isVisible());
}

// Where showing the panel would take the focus from the user's field, nothing shows it again.
TEST_F(OverlayControllerTest, APanelKeptHiddenShowsForNoPhaseCardOrEvaluation)
{
    make();
    ASSERT_TRUE(panel().isVisible());
    m_controller->keepHidden();
    EXPECT_FALSE(panel().isVisible());
    state().setPhase(Phase::listening());
    EXPECT_FALSE(panel().isVisible());
    state().setOverlayResult(answer());
    EXPECT_FALSE(panel().isVisible());
    m_controller->evaluate();
    EXPECT_FALSE(panel().isVisible());
}

// Moving the widget is no settings change: a settings-saved notice would pop up (and a timer run)
// for each drag.
TEST_F(OverlayControllerTest, ADragMovesThePanelAndStoresItsHomeQuietly)
{
    const OverlayController& controller = make();
    m_screens.setPointer(onChip);
    m_controller->dragChanged();
    EXPECT_TRUE(state().widgetDragging());
    m_screens.setPointer(onChip + QPointF(300, 400));
    m_controller->dragChanged();
    EXPECT_EQ(frame(), chipAtHome.translated(300, 400));
    state().setPhase(Phase::listening());
    EXPECT_EQ(frame(), chipAtHome.translated(300, 400)) << "a phase change during the drag moved the frame";

    m_controller->dragEnded();
    const QuendaConfig stored = QuendaConfig::read();
    EXPECT_DOUBLE_EQ(stored.widgetX.value_or(-1), 1020.0 / 1440);
    EXPECT_DOUBLE_EQ(stored.widgetY.value_or(-1), 412.0 / 835);
    EXPECT_EQ(stored.widgetDisplayID, laptop.id);
    EXPECT_EQ(state().config().widgetX, stored.widgetX);
    EXPECT_FALSE(state().settingToastVisible());
    EXPECT_FALSE(state().widgetDragging());
    EXPECT_TRUE(state().widgetHovered());
    EXPECT_EQ(controller.mode(), OverlayMode::Bar);
    EXPECT_EQ(frame(), QRectF(1020 - 114, 452, 228, 72));
}

TEST_F(OverlayControllerTest, ADragIsClampedToTheScreenUnderThePanel)
{
    make();
    m_screens.setPointer(onChip);
    m_controller->dragChanged();
    m_screens.setPointer(onChip + QPointF(-2000, -500));
    m_controller->dragChanged();
    EXPECT_EQ(frame(), QRectF(8, 22, 64, 48));
}

TEST_F(OverlayControllerTest, ADictationFollowsThePointersScreenAndTheWidgetGoesHomeAfter)
{
    make([](QuendaConfig& c) {
        c.widgetFollowActiveScreen = true;
        c.widgetDisplayID = laptop.id;
        c.widgetX = 0.5;
        c.widgetY = 0;
    });
    m_screens.setPointer({2000, 600});
    state().setPhase(Phase::listening());
    EXPECT_EQ(frame(), QRectF(2400 - 114, 0, 228, 72));

    state().setPhase(Phase::idle());
    m_clock.advance(OverlayController::shrinkDelayMs);
    EXPECT_EQ(frame(), QRectF(688, 40, 64, 48));
}

// Without a stored home the recording widget stands at the bottom centre of the screen in use,
// wherever the pointer rests on it: never over the line the pointer clicked into.
TEST_F(OverlayControllerTest, AFreshSetupRecordsAtTheBottomCentreOfTheScreenInUse)
{
    struct Case {
        const char* name;
        QPointF pointer;
        bool handsFree;
        QRectF frame;
    };
    const Case cases[] = {
        // clang-format off
        {.name = "pointer on the left edge",        .pointer = {2, 450},     .handsFree = false, .frame = barAtHome},
        {.name = "hands-free",                      .pointer = {1000, 700},  .handsFree = true,  .frame = {720 - 228, 52, 456, 72}},
        {.name = "pointer on the other screen",     .pointer = {3000, 900},  .handsFree = false, .frame = {2400 - 114, 12, 228, 72}},
        // clang-format on
    };
    for (const Case& c : cases) {
        m_controller.reset();
        makeState();
        start();
        m_screens.setPointer(c.pointer);
        state().setHandsFree(c.handsFree);
        state().setPhase(Phase::listening());
        EXPECT_EQ(frame(), c.frame) << c.name;
        EXPECT_TRUE(panel().isVisible()) << c.name;
    }
}

TEST_F(OverlayControllerTest, ACardPinnedUnderThePointerMovesWithItsScreenWhileShownOnly)
{
    make([](QuendaConfig& c) {
        c.resultPlacementFixed = true;
        c.resultPlacementScreen = QStringLiteral("pointer");
    });
    m_screens.setPointer({700, 400});
    state().setOverlayResult(answer());
    EXPECT_EQ(frame(), QRectF(460, 56, 520, 560));

    m_screens.setPointer({2000, 600});
    m_clock.advance(OverlayController::pointerPollMs - 1);
    EXPECT_EQ(frame(), QRectF(460, 56, 520, 560));
    m_clock.advance(1);
    EXPECT_EQ(frame(), QRectF(2400 - 260, 16, 520, 560));

    state().setOverlayResult(std::nullopt);
    m_clock.advance(OverlayController::shrinkDelayMs);
    EXPECT_EQ(m_clock.pendingCount(), 0);
}

// Idle CPU: an idle widget must leave no poll or delay running after a whole episode.
TEST_F(OverlayControllerTest, AnIdleHiddenWidgetLeavesNoTimerRunning)
{
    make([](QuendaConfig& c) {
        c.showWidget = false;
        c.widgetFollowActiveScreen = true;
        c.resultPlacementFixed = true;
        c.resultPlacementScreen = QStringLiteral("pointer");
    });
    m_screens.setPointer(onChip);
    m_controller->setHovered(true);
    state().setPhase(Phase::listening());
    state().setPhase(Phase::transcribing());
    state().setOverlayResult(answer());
    state().setPhase(Phase::idle());
    m_clock.advance(250);
    m_controller->dragChanged();
    m_screens.setPointer(onChip + QPointF(50, 50));
    m_controller->dragChanged();
    m_controller->dragEnded();
    state().setOverlayResult(std::nullopt);
    m_controller->setHovered(false);
    m_clock.advance(5000);

    EXPECT_FALSE(panel().isVisible());
    EXPECT_EQ(m_clock.pendingCount(), 0);
}

TEST_F(OverlayControllerTest, AScreenRemovedUnderTheWidgetMovesItToThePrimary)
{
    make([](QuendaConfig& c) {
        c.widgetDisplayID = external.id;
        c.widgetX = 0.5;
        c.widgetY = 0.5;
    });
    EXPECT_EQ(frame(), QRectF(2400 - 32, 540, 64, 48));

    m_screens.setScreens({laptop});
    EXPECT_EQ(frame(), QRectF(720 - 32, 458, 64, 48));
    EXPECT_TRUE(panel().isVisible());
}

TEST_F(OverlayControllerTest, WithoutScreensNothingIsPlacedOrShownUntilOneComes)
{
    m_screens.setScreens({});
    make();
    const QRect untouched = OverlayPanel(m_windows).geometry();
    m_screens.setPointer(onChip);
    m_controller->setHovered(true);
    state().setPhase(Phase::listening());
    m_controller->dragChanged();
    m_controller->dragEnded();
    state().setOverlayResult(answer());
    m_controller->evaluate();
    EXPECT_FALSE(panel().isVisible());
    EXPECT_EQ(panel().geometry(), untouched);
    EXPECT_FALSE(state().config().widgetX);

    m_screens.setScreens({laptop});
    EXPECT_TRUE(panel().isVisible());
    EXPECT_EQ(frame(), QRectF(460, 52, 520, 560));
}

// An X11 window shown before its first evaluation flashes empty at the screen's corner.
TEST_F(OverlayControllerTest, ThePanelIsShownOnlyByItsFirstEvaluationAndAlreadyInPlace)
{
    PanelWatch watch;
    qApp->installEventFilter(&watch);
    make([](QuendaConfig& c) { c.showWidget = false; });
    EXPECT_TRUE(watch.shownAt.isEmpty());

    m_controller.reset();
    make();
    qApp->removeEventFilter(&watch);
    ASSERT_EQ(watch.shownAt.size(), 1);
    EXPECT_EQ(m_screens.space().fromGlobal(watch.shownAt.front()), chipAtHome);
}

TEST_F(OverlayControllerTest, AGoneStateLeavesTheHooksHarmless)
{
    OverlayController& controller = make();
    makeState();
    EXPECT_EQ(controller.targetMode(), OverlayMode::Collapsed);
    EXPECT_TRUE(controller.shouldShowPanel());
    controller.setHovered(true);
    controller.dragChanged();
    controller.dragEnded();
    m_clock.advance(1000);
    EXPECT_FALSE(controller.panelHasFocus());
}

// The panel's window reaches into transparent margins the view does not count; two voices would
// hover the widget where the view says the pointer is outside.
TEST_F(OverlayControllerTest, AViewThatReportsThePointerIsItsOnlyVoice)
{
    make();
    auto* view = new ReportingView;
    m_controller->setReportingContent(view);
    m_screens.setPointer(onChip);

    QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), QPointF(690, 850));
    QApplication::sendEvent(&panel(), &enter);
    EXPECT_FALSE(state().widgetHovered());

    emit view->hoverChanged(true);
    EXPECT_TRUE(state().widgetHovered());
    emit view->dragChanged();
    EXPECT_TRUE(state().widgetDragging());
    emit view->dragEnded();
    EXPECT_FALSE(state().widgetDragging());
    EXPECT_EQ(panel().content(), view);
}

// A card fading in changes what the view paints and moves no widget: a shape cut while it was still
// faint would hide it once shown.
TEST_F(OverlayControllerTest, AChangedOutlineOfTheViewCutsThePanelAnew)
{
    m_windows.setCompositing(false);
    make();
    auto* view = new ReportingView;
    m_controller->setReportingContent(view);
    const QPoint inside = panel().rect().center();
    ASSERT_FALSE(panel().mask().contains(inside));

    view->painted = true;
    emit view->outlineChanged();
    EXPECT_TRUE(panel().mask().contains(inside));
}

// A widget hidden at idle costs its view nothing until it first shows; once built, the view stays.
TEST_F(OverlayControllerTest, TheViewIsBuiltWhenThePanelFirstShowsAndThenKept)
{
    struct Row {
        const char* name;
        bool showWidget;
        bool keptHidden;
        int builtAtIdle;
        int builtAfterWork; // two dictations later
    };
    // clang-format off
    const Row rows[] = {
        {.name = "shown at idle",  .showWidget = true,  .keptHidden = false, .builtAtIdle = 1, .builtAfterWork = 1},
        {.name = "hidden at idle", .showWidget = false, .keptHidden = false, .builtAtIdle = 0, .builtAfterWork = 1},
        {.name = "kept hidden",    .showWidget = true,  .keptHidden = true,  .builtAtIdle = 0, .builtAfterWork = 0},
    };
    // clang-format on
    for (const Row& row : rows) {
        make([&](QuendaConfig& c) { c.showWidget = row.showWidget; });
        if (row.keptHidden)
            m_controller->keepHidden();
        int built = 0;
        m_controller->setReportingContentOnShow<ReportingView>([&] {
            ++built;
            return new ReportingView;
        });
        EXPECT_EQ(built, row.builtAtIdle) << row.name;
        for (int dictation = 0; dictation < 2; ++dictation) {
            state().setPhase(Phase::listening());
            state().setPhase(Phase::idle());
            m_clock.advance(OverlayController::shrinkDelayMs);
        }
        EXPECT_EQ(built, row.builtAfterWork) << row.name;
        EXPECT_EQ(panel().content() != nullptr, row.builtAfterWork > 0) << row.name;
    }
}

#include "overlay_controller_test.moc"

// A setting that places or shows the widget takes effect at once; any other leaves the widget alone,
// so a save while the bar waits to shrink does not postpone the shrink.
TEST_F(OverlayControllerTest, TheSettingsThatPlaceOrShowTheWidgetTakeEffectAtOnceAndNoOther)
{
    using Change = std::function<void(QuendaConfig&)>;
    enum class Shows { Chip, Bar, Card };
    struct Row {
        const char* name;
        Change start; // before the controller is made
        Shows shows;  // when the setting is saved; the pointer is on the external screen
        Change change;
    };
    const Change fixed = [](QuendaConfig& c) { c.resultPlacementFixed = true; };
    // clang-format off
    const Row rows[] = {
        {.name = "shown while idle",   .start = {},    .shows = Shows::Chip, .change = [](QuendaConfig& c) { c.showWidget = false; }},
        {.name = "follows the screen", .start = {},    .shows = Shows::Bar,  .change = [](QuendaConfig& c) { c.widgetFollowActiveScreen = true; }},
        {.name = "card size",          .start = {},    .shows = Shows::Card, .change = [](QuendaConfig& c) { c.overlayResultSize = OverlayResultSize::Large; }},
        {.name = "card placement",     .start = {},    .shows = Shows::Card, .change = fixed},
        {.name = "card screen",        .start = fixed, .shows = Shows::Card, .change = [](QuendaConfig& c) { c.resultPlacementScreen = QString::number(laptop.id); }},
        {.name = "card anchor",        .start = fixed, .shows = Shows::Card, .change = [](QuendaConfig& c) { c.resultPlacementAnchor = ResultPlacementAnchor::TopLeading; }},
    };
    // clang-format on
    const auto save = [this](const Change& change) {
        QuendaConfig config = state().config();
        change(config);
        state().setConfig(config);
    };
    for (const Row& row : rows) {
        m_controller.reset();
        m_screens.setPointer({2000, 600});
        make(row.start);
        if (row.shows == Shows::Bar)
            state().setPhase(Phase::listening());
        if (row.shows == Shows::Card)
            state().setOverlayResult(answer());
        const auto before = std::pair(frame(), panel().isVisible());
        save(row.change);
        EXPECT_NE(std::pair(frame(), panel().isVisible()), before) << row.name;
    }

    m_controller.reset();
    make();
    state().setPhase(Phase::listening());
    state().setPhase(Phase::idle());
    m_clock.advance(OverlayController::shrinkDelayMs - 1);
    save([](QuendaConfig& c) { c.dictionary = QStringLiteral("Quenda"); });
    m_clock.advance(1);
    EXPECT_EQ(frame(), chipAtHome);
}
