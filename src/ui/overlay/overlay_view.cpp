#include "ui/overlay/overlay_view.h"

#include "core/model/result_placement_anchor.h"
#include "core/state/app_state.h"
#include "ui/kit/theme.h"
#include "ui/overlay/pill_view.h"

#include <QMouseEvent>
#include <QPainter>
#include <QVBoxLayout>

#include <cmath>

OverlayView::OverlayView(AppState& state, Clock& clock, QWidget* parent)
    : QWidget(parent)
    , m_state(state)
    , m_outer(new QVBoxLayout(this))
    , m_column(new QWidget(this))
    , m_columnLayout(new QVBoxLayout(m_column))
    , m_pill(new PillView(state, clock, m_column))
{
    // The widget is drawn dark whatever the desktop's appearance.
    setPalette(Theme::darkPalette());
    setAttribute(Qt::WA_NoSystemBackground);
    setMouseTracking(true);

    m_columnLayout->setContentsMargins(0, 0, 0, 0);
    m_columnLayout->setSpacing(cardSpacing);
    // The content always takes its own size; the panel neither stretches nor squeezes it.
    m_columnLayout->setSizeConstraint(QLayout::SetFixedSize);
    m_columnLayout->addWidget(m_pill, 0, Qt::AlignHCenter);
    m_outer->setContentsMargins(0, 0, 0, bottomPadding);
    m_outer->addWidget(m_column, 0, Qt::AlignHCenter | Qt::AlignBottom);

    for (const auto signal :
         {&AppState::phaseChanged, &AppState::widgetHoveredChanged, &AppState::widgetTranslateOpenChanged,
          &AppState::overlayResultChanged, &AppState::dictationPreviewChanged, &AppState::notePreviewChanged,
          &AppState::configChanged, &AppState::rewritingChanged})
        connect(&state, signal, this, &OverlayView::refresh);
    refresh();
}

bool OverlayView::expanded(const AppState& state)
{
    if (state.dictationPreview() || state.notePreview())
        return false;
    return state.widgetHovered() || !state.phase().is(Phase::Kind::Idle) || state.widgetTranslateOpen() ||
           state.overlayResult().has_value();
}

bool OverlayView::showsPill(const AppState& state)
{
    if (state.dictationPreview() || state.overlayResult() || state.notePreview())
        return false;
    return !state.phase().is(Phase::Kind::Idle) || state.widgetTranslateOpen() || state.config().showWidget;
}

bool OverlayView::pinsCardToTop(const AppState& state)
{
    const bool card = state.overlayResult() || state.dictationPreview() || state.notePreview();
    const auto anchor = ResultPlacementAnchorText::fromRaw(state.config().resultPlacementAnchor);
    return state.config().resultPlacementFixed && card && anchor && ResultPlacementAnchorText::isTop(*anchor);
}

OverlayView::Card OverlayView::cardFor(const AppState& state)
{
    if (state.notePreview())
        return Card::NoteSaved;
    if (const auto& result = state.overlayResult())
        return result->choices && !result->choices->isEmpty() ? Card::Choices : Card::Result;
    if (state.dictationPreview())
        return Card::Preview;
    if (state.widgetTranslateOpen())
        return Card::TranslateMenu;
    return Card::None;
}

QRect OverlayView::hitRect() const
{
    QRect content;
    if (m_card && m_card->isVisible())
        content |= QRect(m_card->mapTo(this, QPoint(0, 0)), m_card->size());
    if (m_pill->isVisible())
        content |= QRect(m_pill->mapTo(this, QPoint(0, 0)), m_pill->size());
    if (content.isEmpty())
        return {};
    return content.adjusted(-hitMargin, -hitMargin, hitMargin, hitMargin);
}

void OverlayView::refresh()
{
    // While the panel is dragged, changes take effect at once.
    const bool animate = !m_state.widgetDragging();
    m_pill->setVisible(showsPill(m_state));
    m_pill->setExpanded(expanded(m_state), animate);
    const Qt::Alignment vertical = pinsCardToTop(m_state) ? Qt::AlignTop : Qt::AlignBottom;
    m_outer->setAlignment(m_column, Qt::AlignHCenter | vertical);
    update();
}

void OverlayView::paintEvent(QPaintEvent*)
{
    if (!m_pill->isVisible())
        return;
    QPainter p(this);
    m_pillShadow.paint(p, QRectF(QRect(m_pill->mapTo(this, QPoint(0, 0)), m_pill->size())));
}

void OverlayView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !hitRect().contains(event->position().toPoint())) {
        event->ignore();
        return;
    }
    m_pressAt = event->globalPosition();
    m_dragging = false;
}

void OverlayView::mouseMoveEvent(QMouseEvent* event)
{
    if (m_pressAt && (event->buttons() & Qt::LeftButton)) {
        const QPointF moved = event->globalPosition() - *m_pressAt;
        if (!m_dragging && std::hypot(moved.x(), moved.y()) >= dragDistance)
            m_dragging = true;
        if (m_dragging)
            emit dragChanged();
        return;
    }
    setHovered(hitRect().contains(event->position().toPoint()));
}

void OverlayView::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    m_pressAt.reset();
    if (m_dragging) {
        m_dragging = false;
        emit dragEnded();
    }
}

void OverlayView::enterEvent(QEnterEvent* event)
{
    setHovered(hitRect().contains(event->position().toPoint()));
}

void OverlayView::leaveEvent(QEvent*)
{
    setHovered(false);
}

void OverlayView::setHovered(bool hovered)
{
    if (hovered == m_hovered)
        return;
    m_hovered = hovered;
    emit hoverChanged(hovered);
}
