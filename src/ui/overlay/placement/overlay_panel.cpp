#include "ui/overlay/placement/overlay_panel.h"

#include "platform/floating_windows.h"

#include <QChildEvent>
#include <QGuiApplication>
#include <QImage>
#include <QLineF>
#include <QMouseEvent>
#include <QRegion>
#include <QScopedValueRollback>
#include <QStyleHints>
#include <QVBoxLayout>

#include <vector>

namespace {

// Pixels at least half opaque belong to the shape; faint shadow edges would turn black without a
// compositor, so they are cut off.
constexpr int shapeAlpha = 128;

QRegion opaqueRegion(const QImage& image)
{
    std::vector<QRect> rects;
    std::vector<std::pair<int, int>> previous;
    std::vector<std::pair<int, int>> runs;
    qsizetype previousStart = 0;
    for (int y = 0; y < image.height(); ++y) {
        runs.clear();
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width();) {
            if (qAlpha(line[x]) < shapeAlpha) {
                ++x;
                continue;
            }
            const int start = x;
            while (x < image.width() && qAlpha(line[x]) >= shapeAlpha)
                ++x;
            runs.emplace_back(start, x - start);
        }
        // Rows like the one above only make its rectangles taller, keeping the region small.
        if (runs == previous && !runs.empty()) {
            for (auto i = previousStart; i < qsizetype(rects.size()); ++i)
                rects[size_t(i)].setHeight(rects[size_t(i)].height() + 1);
            continue;
        }
        previousStart = qsizetype(rects.size());
        for (const auto& [start, length] : runs)
            rects.emplace_back(start, y, length, 1);
        previous = runs;
    }
    QRegion region;
    region.setRects(rects.data(), int(rects.size()));
    return region;
}

} // namespace

OverlayPanel::OverlayPanel(FloatingWindows& windows)
    : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                           Qt::WindowDoesNotAcceptFocus |
                           (windows.outsideManager() ? Qt::BypassWindowManagerHint : Qt::WindowFlags()))
    , m_windows(windows)
{
    setAttribute(Qt::WA_ShowWithoutActivating);
    // Before the native window exists: it decides the window's visual.
    setAttribute(Qt::WA_TranslucentBackground);
    // Qt shows tooltips only in the active window, and this one is never active.
    setAttribute(Qt::WA_AlwaysShowToolTips);
    setFocusPolicy(Qt::NoFocus);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    resize(64, 48);
}

OverlayPanel::~OverlayPanel() = default;

void OverlayPanel::setContent(QWidget* content)
{
    if (content == m_content)
        return;
    delete m_content;
    m_content = content;
    if (content) {
        watchOutline(content);
        layout()->addWidget(content);
        // A child added to a shown window stays hidden until told, and would be cut away.
        content->show();
    }
    refreshShape();
}

void OverlayPanel::watchOutline(QObject* object)
{
    object->installEventFilter(this);
    for (QObject* child : object->findChildren<QObject*>())
        child->installEventFilter(this);
}

bool OverlayPanel::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::ChildAdded:
        watchOutline(static_cast<QChildEvent*>(event)->child());
        break;
    // The pill grows to the toolbar inside a panel that already has its new size: a shape cut
    // only when the panel resizes would keep the chip's.
    case QEvent::Resize:
    case QEvent::Move:
    case QEvent::Show:
    case QEvent::Hide:
        if (watched->isWidgetType())
            refreshShapeSoon();
        break;
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

void OverlayPanel::refreshShapeSoon()
{
    if (m_shapeQueued || !isVisible())
        return;
    m_shapeQueued = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_shapeQueued = false;
            if (isVisible())
                refreshShape();
        },
        Qt::QueuedConnection);
}

void OverlayPanel::refreshShape()
{
    // Grabbing a window not yet laid out sends it its pending resize, which lands here again.
    if (m_shaping)
        return;
    const QScopedValueRollback shaping(m_shaping, true);
    if (m_windows.compositing(internalWinId())) {
        if (!mask().isEmpty())
            clearMask();
        return;
    }
    // The content is grabbed at the panel's size, not where a pending layout run still has it.
    layout()->activate();
    QImage image = grab().toImage().convertToFormat(QImage::Format_ARGB32);
    if (image.size() != size())
        image = image.scaled(size());
    setMask(opaqueRegion(image));
}

void OverlayPanel::enterEvent(QEnterEvent* event)
{
    QWidget::enterEvent(event);
    if (m_tracksPointer)
        emit hoverChanged(true);
}

void OverlayPanel::leaveEvent(QEvent* event)
{
    QWidget::leaveEvent(event);
    if (m_tracksPointer)
        emit hoverChanged(false);
}

void OverlayPanel::mousePressEvent(QMouseEvent* event)
{
    if (!m_tracksPointer || event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    m_pressedAt = event->globalPosition();
    m_dragging = false;
}

void OverlayPanel::mouseMoveEvent(QMouseEvent* event)
{
    if (!m_pressedAt || !(event->buttons() & Qt::LeftButton)) {
        event->ignore();
        return;
    }
    if (!m_dragging && QLineF(*m_pressedAt, event->globalPosition()).length() <
                           QGuiApplication::styleHints()->startDragDistance())
        return;
    m_dragging = true;
    emit dragChanged();
}

void OverlayPanel::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    const bool dragged = m_dragging;
    m_pressedAt.reset();
    m_dragging = false;
    if (dragged)
        emit dragEnded();
}

void OverlayPanel::showEvent(QShowEvent* event)
{
    // Sent before Qt maps the window, so the hints are there when the window manager looks.
    m_windows.keepOnAllWorkspaces(winId());
    refreshShape();
    QWidget::showEvent(event);
}

void OverlayPanel::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    // A hidden window is cut when it is shown.
    if (isVisible())
        refreshShape();
}
