#pragma once

#include "ui/overlay/placement/follow_target.h"
#include "ui/overlay/placement/overlay_inputs.h"
#include "ui/overlay/placement/overlay_mode.h"
#include "ui/overlay/placement/screen_record.h"

#include <QList>
#include <QPointF>
#include <QRectF>
#include <QSizeF>

#include <optional>

// Where the widget goes, as plain arithmetic on screen records in the widget's coordinates (y up).
// A placement point is the panel's bottom centre. Every answer is absent when there is no screen.
class WidgetPlacement final {
public:
    // A placement point and the screen it was chosen on.
    struct Spot {
        QPointF point;
        ScreenRecord screen;
    };
    // The widget's home as the configuration stores it: fractions of a visible frame.
    struct Home {
        double x;
        double y;
        quint32 displayID;
    };

    // screens: primary first. panelFrame: where the panel is now. in: absent when the state is gone.
    WidgetPlacement(QList<ScreenRecord> screens, QPointF pointer, QRectF panelFrame,
                    std::optional<OverlayInputs> in);

    // The first screen whose frame holds the point, its bottom edge out and its top edge in.
    std::optional<ScreenRecord> screenContaining(QPointF point) const;
    std::optional<ScreenRecord> screenWithId(quint32 id) const;
    // The stored home's screen, else the one under the panel, else the primary.
    std::optional<ScreenRecord> homeScreen() const;
    // The configured screen for pinned cards: "pointer", a display id, or home for anything else.
    std::optional<ScreenRecord> resolvedResultScreen() const;
    // A card is shown and the settings pin cards to a corner.
    bool usesFixedResultPlacement() const;

    // The stored fractions of the home screen's visible frame, else its bottom centre 12 up.
    std::optional<Spot> homePlacement() const;
    // 16 points inside the configured corner of the result screen's visible frame.
    std::optional<Spot> fixedResultPlacement(QSizeF size) const;
    // Near preferred but clear of the 80-point square around the pointer, where the user works.
    Spot placementClearOfWorkArea(QPointF preferred, QSizeF size, const ScreenRecord& screen) const;
    // Pinned card, preview clear of the pointer, home, the home's place on the pointer's screen, or
    // the result's anchor.
    std::optional<Spot> resolvedPlacement(QSizeF size, const FollowTarget& follow) const;

    // Keeps a panel origin inside rect; an empty range gives its lower bound.
    static QPointF clamped(QPointF origin, QSizeF size, const QRectF& rect);
    // clamped() into the visible frame of the screen under the panel's centre, else the primary's.
    std::optional<QPointF> clampedOnPanelScreen(QPointF origin, QSizeF size) const;
    // The panel frame for this size and mode: held in place during a drag, else placed and clamped.
    std::optional<QRectF> frame(QSizeF size, OverlayMode mode, const FollowTarget& follow) const;
    // Which display the widget follows now, given the target it had.
    FollowTarget followTarget(const FollowTarget& current) const;
    // The home to store for a drag that ended with the panel's bottom centre at point.
    std::optional<Home> homeAt(QPointF point) const;

    // Left and top edges in, right and bottom out, as a pixel belongs to one screen in Qt's space.
    static bool contains(const QRectF& rect, QPointF point);

private:
    std::optional<ScreenRecord> primary() const;
    std::optional<ScreenRecord> screenUnderPanel() const;
    std::optional<ScreenRecord> screenOfPointer() const;
    // The stored fractions of the screen's visible frame, else its bottom centre 12 up.
    QPointF homeOn(const ScreenRecord& screen) const;

    QList<ScreenRecord> m_screens;
    QPointF m_pointer;
    QRectF m_panel;
    std::optional<OverlayInputs> m_in;
};
