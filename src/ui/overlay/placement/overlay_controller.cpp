#include "ui/overlay/placement/overlay_controller.h"

#include "core/state/app_state.h"
#include "ui/overlay/placement/overlay_panel.h"
#include "ui/overlay/placement/overlay_rules.h"
#include "ui/overlay/placement/overlay_sizes.h"
#include "ui/overlay/placement/screen_source.h"
#include "ui/overlay/placement/widget_placement.h"

#include <utility>

OverlayController::OverlayController(AppState& state, const Services& services, QObject* parent)
    : QObject(parent)
    , m_state(&state)
    , m_clock(services.clock)
    , m_screens(services.screens)
    , m_panel(std::make_unique<OverlayPanel>(services.windows))
{
    connect(m_panel.get(), &OverlayPanel::hoverChanged, this, &OverlayController::setHovered);
    connect(m_panel.get(), &OverlayPanel::dragChanged, this, &OverlayController::dragChanged);
    connect(m_panel.get(), &OverlayPanel::dragEnded, this, &OverlayController::dragEnded);

    for (const auto signal :
         {&AppState::phaseChanged, &AppState::widgetHoveredChanged, &AppState::widgetTranslateOpenChanged,
          &AppState::overlayResultChanged, &AppState::dictationPreviewChanged, &AppState::notePreviewChanged,
          &AppState::handsFreeChanged})
        connect(&state, signal, this, &OverlayController::stateChanged);
    // The values at creation are this evaluation's; only later changes re-evaluate.
    m_watchedConfig = watchedConfig();
    connect(&state, &AppState::configChanged, this, &OverlayController::configChanged);
    connect(&m_screens, &ScreenSource::screensChanged, this, &OverlayController::screensChanged);

    // Not shown before this: an X11 window shown empty first would flash on the screen.
    evaluate();
}

OverlayController::~OverlayController()
{
    // Fields declared after the panel go before it; its signals must not reach them meanwhile.
    m_panel->disconnect(this);
    m_pointerWatch.reset();
    m_shrink.reset();
    m_leave.reset();
}

std::optional<OverlayInputs> OverlayController::inputs() const
{
    if (!m_state)
        return std::nullopt;
    return OverlayInputs::of(*m_state);
}

QRectF OverlayController::panelFrame() const
{
    return m_screens.space().fromGlobal(m_panel->geometry());
}

WidgetPlacement OverlayController::placement(const std::optional<OverlayInputs>& in) const
{
    return WidgetPlacement(m_screens.screens(), m_screens.pointer(), panelFrame(), in);
}

OverlayMode OverlayController::targetMode() const
{
    return OverlayRules::targetMode(inputs());
}

bool OverlayController::shouldShowPanel() const
{
    return OverlayRules::shouldShowPanel(inputs());
}

bool OverlayController::panelHasFocus() const
{
    return m_panel->isActiveWindow();
}

void OverlayController::keepHidden()
{
    m_keptHidden = true;
    present(false);
}

void OverlayController::setContent(QWidget* view)
{
    m_panel->setContent(view);
}

void OverlayController::outlineChanged()
{
    // Cut while a card was still faint, the window would hide the card once it is fully shown.
    m_panel->refreshShape();
}

void OverlayController::tracksPointerInPanel(bool tracks)
{
    m_panel->setTracksPointer(tracks);
}

void OverlayController::evaluate()
{
    m_mode = targetMode();
    applyFrame();
    present(shouldShowPanel());
}

void OverlayController::present(bool visible)
{
    // With no screen there is nowhere to show it; the next screen change places it again.
    if (!visible || m_keptHidden || m_screens.screens().isEmpty()) {
        m_panel->hide();
        return;
    }
    if (m_panel->isVisible())
        return;
    makeContent();
    m_panel->show();
    m_panel->raise();
}

void OverlayController::setContentMaker(std::function<void()> make)
{
    m_makeContent = std::move(make);
    if (m_panel->isVisible())
        makeContent();
}

void OverlayController::makeContent()
{
    if (const auto make = std::exchange(m_makeContent, {}))
        make();
}

void OverlayController::applyFrame()
{
    const auto in = inputs();
    const QSizeF size = OverlaySizes::panelSize(m_mode, in, m_previewLayout, m_pillLayout);
    const auto frame = placement(in).frame(size, m_mode, m_follow);
    if (!frame) {
        present(false);
        return;
    }
    m_panel->setGeometry(m_screens.space().toGlobal(*frame));
    present(OverlayRules::shouldShowPanel(in));
}

void OverlayController::stateChanged()
{
    if (!m_state || m_state->widgetDragging())
        return;
    syncFollowTarget();
    updateMode();
    present(shouldShowPanel());
}

void OverlayController::configChanged()
{
    const WatchedConfig watched = watchedConfig();
    if (watched == m_watchedConfig)
        return;
    m_watchedConfig = watched;
    stateChanged();
}

OverlayController::WatchedConfig OverlayController::watchedConfig() const
{
    if (!m_state)
        return {};
    const QuendaConfig& c = m_state->config();
    return {c.widgetFollowActiveScreen, c.overlayResultSize,     c.showWidget,
            c.resultPlacementFixed,     c.resultPlacementScreen, c.resultPlacementAnchor};
}

void OverlayController::screensChanged()
{
    if (m_state && m_state->widgetDragging())
        return;
    syncFollowTarget();
    applyFrame();
}

void OverlayController::updateMode()
{
    releaseHoverIfPointerLeft();
    const OverlayMode target = targetMode();
    m_shrink.reset();
    if (target > m_mode) {
        m_mode = target;
        applyFrame();
        // Without a window manager, keeping above is only a hint: a window of ours opened since
        // would cover the card.
        if (m_mode >= OverlayMode::Menu && m_panel->isVisible())
            m_panel->raise();
    } else if (target == m_mode) {
        applyFrame();
    } else {
        // A drop reversed within the delay never shrinks the panel.
        m_shrink = m_clock.after(shrinkDelayMs, this, [this, target] {
            m_shrink.reset();
            if (targetMode() != target)
                return;
            m_mode = target;
            applyFrame();
        });
    }
    syncPointerScreenWatch();
}

void OverlayController::setHovered(bool hovered)
{
    if (!m_state)
        return;
    if (hovered) {
        m_pointerLeft = false;
        m_leave.reset();
        m_state->setWidgetHovered(true);
        return;
    }
    if (m_state->widgetDragging())
        return;
    m_leave = m_clock.after(leaveDelayMs, this, [this] {
        m_leave.reset();
        finishLeave();
    });
}

void OverlayController::finishLeave()
{
    const auto in = inputs();
    if (!in || in->dragging)
        return;
    if (OverlayRules::holdsHover(*in)) {
        m_pointerLeft = true;
        return;
    }
    m_pointerLeft = false;
    m_state->setWidgetHovered(false);
}

void OverlayController::releaseHoverIfPointerLeft()
{
    const auto in = inputs();
    if (!in || !OverlayRules::hoverIsReleasable(*in))
        return;
    // An exit that was never reported is found by looking where the pointer is.
    if (m_pointerLeft || !WidgetPlacement::contains(panelFrame(), m_screens.pointer())) {
        m_pointerLeft = false;
        m_state->setWidgetHovered(false);
    }
}

void OverlayController::dragChanged()
{
    if (!m_state)
        return;
    const QPointF pointer = m_screens.pointer();
    if (!m_dragStartOrigin) {
        const QRectF frame = panelFrame();
        m_dragStartOrigin = QPointF(frame.x(), frame.y());
        m_dragStartPointer = pointer;
        m_leave.reset();
        m_state->setWidgetDragging(true);
    }
    if (!m_dragStartOrigin || !m_dragStartPointer)
        return;
    const QSizeF size = m_panel->size();
    const auto origin =
        placement(inputs()).clampedOnPanelScreen(*m_dragStartOrigin + (pointer - *m_dragStartPointer), size);
    if (origin)
        m_panel->setGeometry(m_screens.space().toGlobal(QRectF(*origin, size)));
}

void OverlayController::dragEnded()
{
    m_dragStartOrigin.reset();
    m_dragStartPointer.reset();
    const QRectF frame = panelFrame();
    persistHome({frame.center().x(), frame.y()});
    m_follow = {};
    if (m_state) {
        m_state->setWidgetDragging(false);
        m_state->setWidgetHovered(true);
    }
    updateMode();
    applyFrame();
}

void OverlayController::persistHome(QPointF point)
{
    if (!m_state)
        return;
    const auto home = placement(inputs()).homeAt(point);
    if (!home)
        return;
    // Moving the widget is not a settings change: no settings-saved notice.
    m_state->changeConfigUnasked([&home](QuendaConfig& config) {
        config.widgetX = home->x;
        config.widgetY = home->y;
        config.widgetDisplayID = home->displayID;
    });
}

void OverlayController::syncFollowTarget()
{
    m_follow = placement(inputs()).followTarget(m_follow);
}

std::optional<quint32> OverlayController::pointerScreenID() const
{
    const auto screen = placement(std::nullopt).screenContaining(m_screens.pointer());
    return screen ? std::optional<quint32>(screen->id) : std::nullopt;
}

void OverlayController::syncPointerScreenWatch()
{
    const auto in = inputs();
    const bool wanted = in && placement(in).usesFixedResultPlacement() &&
                        in->resultPlacementScreen == QLatin1String("pointer");
    if (!wanted) {
        m_pointerWatch.reset();
        m_pointerScreenID.reset();
        return;
    }
    if (m_pointerWatch)
        return;
    m_pointerScreenID = pointerScreenID();
    // Linux offers no global pointer events to an ordinary client, so the screen is polled, and only
    // while such a card is shown.
    m_pointerWatch = m_clock.every(pointerPollMs, this, [this] { pointerScreenMayHaveChanged(); });
}

void OverlayController::pointerScreenMayHaveChanged()
{
    const auto id = pointerScreenID();
    if (id == m_pointerScreenID)
        return;
    m_pointerScreenID = id;
    if (m_state && !m_state->widgetDragging())
        applyFrame();
}
