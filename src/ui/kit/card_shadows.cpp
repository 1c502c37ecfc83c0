#include "ui/kit/card_shadows.h"

#include "ui/kit/shadow_art.h"
#include "ui/kit/shadow_caster.h"

#include <QChildEvent>
#include <QMoveEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QResizeEvent>
#include <QWidget>

namespace {

// How far the caster's shadows stand out of its own rectangle.
QMargins outside(const QWidget& caster, const ShadowCaster& casts)
{
    const QRect own = caster.rect();
    QRect covered = own;
    for (const ShadowCaster::Cast& cast : casts.shadows())
        covered |= cast.shape.toAlignedRect().marginsAdded(ShadowArt::reach(cast.look));
    return QMargins(own.left() - covered.left(), own.top() - covered.top(), covered.right() - own.right(),
                    covered.bottom() - own.bottom());
}

} // namespace

CardShadows::CardShadows(QWidget& host)
    : QObject(&host)
    , m_host(host)
{
    host.installEventFilter(this);
}

void CardShadows::refresh(QWidget& caster)
{
    for (QWidget* up = caster.parentWidget(); up; up = up->parentWidget()) {
        if (auto* shadows = up->findChild<CardShadows*>(QString(), Qt::FindDirectChildrenOnly)) {
            shadows->m_host.update(shadows->area(caster, caster.geometry()));
            return;
        }
    }
}

QRect CardShadows::area(QWidget& caster, const QRect& rect) const
{
    const auto* casts = qobject_cast<ShadowCaster*>(&caster);
    QWidget* parent = caster.parentWidget();
    if (!casts || !parent)
        return {};
    const QRect inHost(parent == &m_host ? rect.topLeft() : parent->mapTo(&m_host, rect.topLeft()),
                       rect.size());
    return inHost.marginsAdded(outside(caster, *casts));
}

bool CardShadows::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == &m_host) {
        if (event->type() == QEvent::Paint)
            paint(*static_cast<QPaintEvent*>(event));
        else if (event->type() == QEvent::ChildAdded &&
                 static_cast<QChildEvent*>(event)->child()->isWidgetType())
            m_host.update();
        return false;
    }
    const bool caster = qobject_cast<ShadowCaster*>(watched) != nullptr;
    if (event->type() == QEvent::ChildAdded) {
        // A new caster may stand among a container's children; the next paint finds it.
        if (!caster && static_cast<QChildEvent*>(event)->child()->isWidgetType())
            m_host.update();
        return false;
    }
    auto* widget = static_cast<QWidget*>(watched);
    // Where a caster stood before the event; its shadow is repainted there and where it stands now.
    QRect before;
    switch (event->type()) {
    case QEvent::Move:
        before = QRect(static_cast<QMoveEvent*>(event)->oldPos(), widget->size());
        break;
    case QEvent::Resize:
        before = QRect(widget->pos(), static_cast<QResizeEvent*>(event)->oldSize());
        break;
    case QEvent::Show:
    case QEvent::Hide:
        before = widget->geometry();
        break;
    default:
        return false;
    }
    if (caster) {
        m_host.update(area(*widget, before));
        m_host.update(area(*widget, widget->geometry()));
    } else {
        // A container moved, resized or showed: the casters inside may have gone anywhere.
        m_host.update();
    }
    return false;
}

void CardShadows::paint(const QPaintEvent& event)
{
    std::vector<QWidget*> casters;
    for (QObject* child : m_host.children()) {
        if (child->isWidgetType())
            collect(*static_cast<QWidget*>(child), casters);
    }
    if (casters.empty())
        return;
    QPainter painter(&m_host);
    const QRect dirty = event.rect();
    for (QWidget* caster : casters) {
        const QPoint at = caster->mapTo(&m_host, QPoint(0, 0));
        for (const ShadowCaster::Cast& cast : qobject_cast<ShadowCaster*>(caster)->shadows()) {
            const QRectF shape = cast.shape.translated(at);
            if (shape.toAlignedRect().marginsAdded(ShadowArt::reach(cast.look)).intersects(dirty))
                ShadowArt::paint(painter, shape, cast.look);
        }
    }
}

void CardShadows::collect(QWidget& widget, std::vector<QWidget*>& casters)
{
    watch(widget);
    if (widget.isHidden() || widget.isWindow())
        return;
    if (qobject_cast<ShadowCaster*>(&widget)) {
        casters.push_back(&widget);
        return;
    }
    for (QObject* child : widget.children()) {
        if (child->isWidgetType())
            collect(*static_cast<QWidget*>(child), casters);
    }
}

void CardShadows::watch(QWidget& widget)
{
    if (m_watched.contains(&widget))
        return;
    widget.installEventFilter(this);
    m_watched.insert(&widget);
    connect(&widget, &QObject::destroyed, this, [this](QObject* gone) { m_watched.remove(gone); });
}
