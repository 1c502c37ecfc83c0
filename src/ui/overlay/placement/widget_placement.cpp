#include "ui/overlay/placement/widget_placement.h"

#include "core/model/result_placement_anchor.h"
#include "ui/overlay/placement/overlay_rules.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

namespace {

// The panel keeps 8 points from a visible frame's sides and top and may hang 18 below its bottom,
// where docks and panels usually leave room.
constexpr qreal sideMargin = 8;
constexpr qreal hangBelow = 18;
constexpr qreal homeLift = 12;
constexpr qreal anchorMargin = 16;
// Half the bar's width: the chip sits where the bar will fit, so growing never moves its centre.
constexpr qreal barHalfWidth = 114;
constexpr qreal keepOutHalf = 40;

qreal nearest(qreal v)
{
    return std::round(v);
}

QPointF nearest(QPointF p)
{
    return {nearest(p.x()), nearest(p.y())};
}

// Bottom-up: y() is the bottom, bottom() (y + height) the top.
qreal top(const QRectF& r)
{
    return r.y() + r.height();
}

QPointF bottomCentre(const QRectF& r)
{
    return {r.center().x(), r.y()};
}

} // namespace

WidgetPlacement::WidgetPlacement(QList<ScreenRecord> screens, QPointF pointer, QRectF panelFrame,
                                 std::optional<OverlayInputs> in)
    : m_screens(std::move(screens))
    , m_pointer(pointer)
    , m_panel(panelFrame)
    , m_in(std::move(in))
{
}

bool WidgetPlacement::contains(const QRectF& rect, QPointF point)
{
    return point.x() >= rect.x() && point.x() < rect.x() + rect.width() && point.y() > rect.y() &&
           point.y() <= top(rect);
}

std::optional<ScreenRecord> WidgetPlacement::screenContaining(QPointF point) const
{
    for (const ScreenRecord& screen : m_screens) {
        if (contains(screen.frame, point))
            return screen;
    }
    return std::nullopt;
}

std::optional<ScreenRecord> WidgetPlacement::screenWithId(quint32 id) const
{
    for (const ScreenRecord& screen : m_screens) {
        if (screen.id == id)
            return screen;
    }
    return std::nullopt;
}

std::optional<ScreenRecord> WidgetPlacement::primary() const
{
    if (m_screens.isEmpty())
        return std::nullopt;
    return m_screens.front();
}

std::optional<ScreenRecord> WidgetPlacement::screenUnderPanel() const
{
    return screenContaining(m_panel.center());
}

std::optional<ScreenRecord> WidgetPlacement::screenOfPointer() const
{
    return screenContaining(m_pointer);
}

std::optional<ScreenRecord> WidgetPlacement::homeScreen() const
{
    // An id no 32-bit display can have names none, like one that is disconnected.
    if (m_in && m_in->widgetDisplayID && *m_in->widgetDisplayID >= 0 &&
        *m_in->widgetDisplayID <= std::numeric_limits<quint32>::max()) {
        if (auto screen = screenWithId(quint32(*m_in->widgetDisplayID)))
            return screen;
    }
    if (auto screen = screenUnderPanel())
        return screen;
    return primary();
}

std::optional<ScreenRecord> WidgetPlacement::resolvedResultScreen() const
{
    const QString choice = m_in ? m_in->resultPlacementScreen : QStringLiteral("pointer");
    if (choice == QLatin1String("pointer")) {
        if (auto screen = screenOfPointer())
            return screen;
        return homeScreen();
    }
    if (choice.isEmpty())
        return homeScreen();
    bool ok = false;
    const uint id = choice.toUInt(&ok, 10);
    if (ok) {
        if (auto screen = screenWithId(id))
            return screen;
    }
    return homeScreen();
}

bool WidgetPlacement::usesFixedResultPlacement() const
{
    return m_in && m_in->resultPlacementFixed && m_in->hasCard();
}

QPointF WidgetPlacement::homeOn(const ScreenRecord& screen) const
{
    const QRectF& vf = screen.visibleFrame;
    if (m_in && m_in->widgetX && m_in->widgetY)
        return nearest(QPointF(vf.x() + *m_in->widgetX * vf.width(), vf.y() + *m_in->widgetY * vf.height()));
    return nearest(QPointF(vf.center().x(), vf.y() + homeLift));
}

std::optional<WidgetPlacement::Spot> WidgetPlacement::homePlacement() const
{
    const auto screen = homeScreen();
    if (!screen)
        return std::nullopt;
    return Spot{homeOn(*screen), *screen};
}

std::optional<WidgetPlacement::Spot> WidgetPlacement::fixedResultPlacement(QSizeF size) const
{
    const auto screen = resolvedResultScreen();
    if (!screen)
        return std::nullopt;
    const QRectF& vf = screen->visibleFrame;
    const qreal w = size.width();
    const qreal h = size.height();
    const qreal left = vf.x() + anchorMargin + w / 2;
    const qreal right = vf.x() + vf.width() - anchorMargin - w / 2;
    const qreal high = top(vf) - anchorMargin - h;
    const qreal low = vf.y() + anchorMargin;
    const ResultPlacementAnchor anchor =
        m_in ? m_in->resultPlacementAnchor : OverlayInputs().resultPlacementAnchor;
    const qreal y = ResultPlacementAnchorText::isTop(anchor) ? high : low;
    QPointF point(vf.center().x(), y);
    switch (anchor) {
    case ResultPlacementAnchor::TopLeading:
    case ResultPlacementAnchor::BottomLeading:
        point.setX(left);
        break;
    case ResultPlacementAnchor::TopTrailing:
    case ResultPlacementAnchor::BottomTrailing:
        point.setX(right);
        break;
    case ResultPlacementAnchor::TopCenter:
    case ResultPlacementAnchor::BottomCenter:
        break;
    }
    return Spot{nearest(point), *screen};
}

WidgetPlacement::Spot WidgetPlacement::placementClearOfWorkArea(QPointF preferred, QSizeF size,
                                                                const ScreenRecord& screen) const
{
    const QRectF& vf = screen.visibleFrame;
    const qreal w = size.width();
    const qreal h = size.height();
    const qreal half = w / 2;
    const qreal lowY = vf.y() - hangBelow;
    const qreal highY = std::max(lowY, top(vf) - h - sideMargin);
    const QPointF m = m_pointer;
    const QRectF keepOut(m.x() - keepOutHalf, m.y() - keepOutHalf, 2 * keepOutHalf, 2 * keepOutHalf);

    const auto fit = [&](QPointF c) {
        const qreal x =
            std::min(vf.x() + vf.width() - sideMargin - half, std::max(vf.x() + sideMargin + half, c.x()));
        const qreal y = std::min(highY, std::max(lowY, c.y()));
        return nearest(QPointF(x, y));
    };
    // Touching the square's edge is clear: the candidates below and above are placed exactly there.
    const auto clear = [&](QPointF c) { return !QRectF(c.x() - half, c.y(), w, h).intersects(keepOut); };

    const QPointF c0 = fit(preferred);
    if (clear(c0))
        return {c0, screen};
    const qreal sideX =
        m.x() < vf.center().x() ? vf.x() + vf.width() - sideMargin - half : vf.x() + sideMargin + half;
    const QPointF bottomMiddle(vf.center().x(), vf.y() + homeLift);
    const QPointF candidates[] = {
        {c0.x(), m.y() - h - keepOutHalf}, {c0.x(), m.y() + keepOutHalf}, {sideX, c0.y()},
        {sideX, m.y() - h - keepOutHalf},  {sideX, m.y() + keepOutHalf},  bottomMiddle,
        {vf.center().x(), highY},
    };
    for (const QPointF& candidate : candidates) {
        const QPointF c = fit(candidate);
        if (clear(c))
            return {c, screen};
    }
    return {fit(bottomMiddle), screen};
}

std::optional<WidgetPlacement::Spot> WidgetPlacement::resolvedPlacement(QSizeF size,
                                                                        const FollowTarget& follow) const
{
    if (usesFixedResultPlacement())
        return fixedResultPlacement(size);
    if (m_in && m_in->hasPreview()) {
        const auto home = homePlacement();
        if (!home)
            return std::nullopt;
        return placementClearOfWorkArea(home->point, size, home->screen);
    }
    if (!follow.displayID)
        return homePlacement();

    const auto followed = [&](QPointF point) {
        if (auto screen = screenContaining(point))
            return screen;
        if (auto screen = screenWithId(*follow.displayID))
            return screen;
        return homeScreen();
    };
    if (follow.anchor) {
        const auto screen = followed(*follow.anchor);
        if (!screen)
            return std::nullopt;
        return Spot{*follow.anchor, *screen};
    }
    // The home's place on the screen in use, not the pointer's own spot: there the widget would
    // cover the line being written.
    const auto screen = followed(m_pointer);
    if (!screen)
        return std::nullopt;
    return Spot{homeOn(*screen), *screen};
}

QPointF WidgetPlacement::clamped(QPointF origin, QSizeF size, const QRectF& rect)
{
    const qreal lowX = rect.x() + sideMargin;
    const qreal highX = rect.x() + rect.width() - size.width() - sideMargin;
    const qreal lowY = rect.y() - hangBelow;
    const qreal highY = top(rect) - size.height() - sideMargin;
    return {std::min(std::max(lowX, highX), std::max(lowX, origin.x())),
            std::min(std::max(lowY, highY), std::max(lowY, origin.y()))};
}

std::optional<QPointF> WidgetPlacement::clampedOnPanelScreen(QPointF origin, QSizeF size) const
{
    auto screen = screenUnderPanel();
    if (!screen)
        screen = primary();
    if (!screen)
        return std::nullopt;
    return clamped(origin, size, screen->visibleFrame);
}

std::optional<QRectF> WidgetPlacement::frame(QSizeF size, OverlayMode mode, const FollowTarget& follow) const
{
    const qreal w = size.width();
    const qreal h = size.height();
    if (m_in && m_in->dragging) {
        const auto origin = clampedOnPanelScreen({m_panel.center().x() - w / 2, m_panel.y()}, size);
        if (!origin)
            return std::nullopt;
        return QRectF(nearest(*origin), size);
    }
    const auto spot = resolvedPlacement(size, follow);
    if (!spot)
        return std::nullopt;
    const QRectF& vf = spot->screen.visibleFrame;
    const qreal half = follow.displayID || mode == OverlayMode::Result ? w / 2 : barHalfWidth;
    // When the screen is narrower than the margins, the upper bound wins for x and the lower for y.
    const qreal x = std::min(vf.x() + vf.width() - sideMargin - half,
                             std::max(vf.x() + sideMargin + half, spot->point.x()));
    const qreal lowY = vf.y() - hangBelow;
    const qreal y = std::min(std::max(lowY, top(vf) - h - sideMargin), std::max(lowY, spot->point.y()));
    return QRectF(nearest(QPointF(x - w / 2, y)), size);
}

FollowTarget WidgetPlacement::followTarget(const FollowTarget& current) const
{
    if (!m_in || m_in->hasPreview() || m_in->hasNotePreview || usesFixedResultPlacement() ||
        !m_in->followActiveScreen || !OverlayRules::isActive(*m_in))
        return {};
    const auto pointerScreen = screenOfPointer();
    const std::optional<quint32> pointerID =
        pointerScreen ? std::optional<quint32>(pointerScreen->id) : std::nullopt;
    if (!m_in->hasResult)
        return {.displayID = pointerID, .anchor = std::nullopt};
    // A result stays where it first appeared, on the display it appeared on.
    const QPointF anchor = current.anchor.value_or(bottomCentre(m_panel));
    const auto anchorScreen = screenContaining(anchor);
    return {.displayID = anchorScreen ? std::optional<quint32>(anchorScreen->id) : pointerID,
            .anchor = anchor};
}

std::optional<WidgetPlacement::Home> WidgetPlacement::homeAt(QPointF point) const
{
    if (!m_in)
        return std::nullopt;
    auto screen = screenContaining(point);
    if (!screen)
        screen = screenUnderPanel();
    if (!screen)
        screen = primary();
    if (!screen)
        return std::nullopt;
    const QRectF& vf = screen->visibleFrame;
    if (vf.width() <= 1 || vf.height() <= 1)
        return std::nullopt;
    // Not clamped to 0...1: the final clamp of each placement keeps the panel on the screen.
    return Home{(point.x() - vf.x()) / vf.width(), (point.y() - vf.y()) / vf.height(), screen->id};
}
