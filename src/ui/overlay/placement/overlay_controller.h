#pragma once

#include "core/base/clock.h"
#include "core/model/overlay_result_size.h"
#include "core/model/result_placement_anchor.h"
#include "ui/overlay/placement/dictation_preview_layout.h"
#include "ui/overlay/placement/follow_target.h"
#include "ui/overlay/placement/overlay_inputs.h"
#include "ui/overlay/placement/overlay_mode.h"
#include "ui/overlay/placement/pill_layout.h"

#include <QObject>
#include <QPointF>
#include <QPointer>
#include <QRectF>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

class AppState;
class FloatingWindows;
class OverlayPanel;
class QWidget;
class ScreenSource;
class WidgetPlacement;

// Owns the floating widget: keeps its size class, place and visibility in step with the shared
// state, grows at once and shrinks late, holds the hover while work runs, and turns drags into
// moves and a stored home. Created once by the shell; main thread only.
class OverlayController final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(OverlayController)

public:
    // Owned by the composition root, outliving the controller.
    struct Services {
        Clock& clock;
        ScreenSource& screens;
        FloatingWindows& windows;
    };

    static constexpr int shrinkDelayMs = 420;
    static constexpr int leaveDelayMs = 280;
    static constexpr int pointerPollMs = 100;

    // Evaluates the widget once; the panel is shown only if that evaluation wants it.
    OverlayController(AppState& state, const Services& services, QObject* parent = nullptr);
    ~OverlayController() override;

    // The size class the state asks for now.
    OverlayMode targetMode() const;
    // Whether the state wants the panel on screen.
    bool shouldShowPanel() const;
    OverlayMode mode() const { return m_mode; }
    // Sizes and places the panel for the current mode, then shows or hides it.
    void applyFrame();
    // What launch and a newly granted permission run: mode from the state, frame, visibility.
    void evaluate();
    // Whether the panel holds the keyboard focus; it is built never to take it.
    bool panelHasFocus() const;
    // For a desktop that would give the panel the focus to show it: it never shows again.
    void keepHidden();
    OverlayPanel& panel() const { return *m_panel; }
    // Hosts the root view; the panel owns it and reports hover and drags on what the view ignores.
    void setContent(QWidget* view);
    // Hosts a root view that reports hover, drags and a changed outline itself, through signals of
    // the hooks' names.
    template <typename View> void setReportingContent(View* view)
    {
        setContent(view);
        tracksPointerInPanel(false);
        connect(view, &View::hoverChanged, this, &OverlayController::setHovered);
        connect(view, &View::dragChanged, this, &OverlayController::dragChanged);
        connect(view, &View::dragEnded, this, &OverlayController::dragEnded);
        connect(view, &View::outlineChanged, this, &OverlayController::outlineChanged);
    }
    // As setReportingContent, with the view `make` builds just before the panel first shows: a
    // widget hidden at idle then costs neither its widgets nor, where its outline is cut from a
    // picture of it, the fonts that picture needs.
    template <typename View> void setReportingContentOnShow(std::function<View*()> make)
    {
        setContentMaker([this, make = std::move(make)] { setReportingContent(make()); });
    }

public slots:
    // Hooks for the root view; the panel reports its own hover and background drags through them.
    void setHovered(bool hovered);
    void dragChanged();
    void dragEnded();
    // The view's painted outline changed without a resize: the panel's shape is cut anew.
    void outlineChanged();

private:
    // The configuration values that re-evaluate the widget.
    struct WatchedConfig {
        bool followActiveScreen;
        OverlayResultSize resultSize;
        bool showWidget;
        bool placementFixed;
        QString placementScreen;
        ResultPlacementAnchor placementAnchor;
        friend bool operator==(const WatchedConfig&, const WatchedConfig&) = default;
    };

    void tracksPointerInPanel(bool tracks);
    std::optional<OverlayInputs> inputs() const;
    WidgetPlacement placement(const std::optional<OverlayInputs>& in) const;
    QRectF panelFrame() const;
    void stateChanged();
    void configChanged();
    void screensChanged();
    void updateMode();
    void finishLeave();
    void releaseHoverIfPointerLeft();
    void syncFollowTarget();
    void syncPointerScreenWatch();
    void pointerScreenMayHaveChanged();
    void persistHome(QPointF point);
    void present(bool visible);
    // Keeps `make` for the panel's first show, or runs it now when the panel is on screen.
    void setContentMaker(std::function<void()> make);
    void makeContent();
    std::optional<quint32> pointerScreenID() const;
    WatchedConfig watchedConfig() const;

    QPointer<AppState> m_state;
    Clock& m_clock;
    ScreenSource& m_screens;
    const DictationPreviewLayout m_previewLayout;
    const PillLayout m_pillLayout;
    const std::unique_ptr<OverlayPanel> m_panel;
    // Builds and hosts the root view; empty once it ran, or when the view came built.
    std::function<void()> m_makeContent;

    OverlayMode m_mode = OverlayMode::Collapsed;
    Clock::Timer m_shrink;
    Clock::Timer m_leave;
    // The pointer left while work held the hover; released when the work ends.
    bool m_pointerLeft = false;
    bool m_keptHidden = false;
    FollowTarget m_follow;
    std::optional<QPointF> m_dragStartOrigin;
    std::optional<QPointF> m_dragStartPointer;
    // Polls the pointer's screen while a card is pinned to "the screen under the pointer".
    Clock::Timer m_pointerWatch;
    std::optional<quint32> m_pointerScreenID;
    // As last seen.
    WatchedConfig m_watchedConfig{};
};
