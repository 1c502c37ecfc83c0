#pragma once

#include <QPointF>
#include <QPointer>
#include <QWidget>

#include <optional>

class FloatingWindows;

// The widget's window: frameless, above other windows, on every workspace, and never given the
// keyboard focus, so the text the user dictates into keeps it. It hosts the root view and reports
// hovering and dragging over whatever part of it the view leaves to the window.
class OverlayPanel final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(OverlayPanel)

public:
    explicit OverlayPanel(FloatingWindows& windows);
    ~OverlayPanel() override;

    // Puts the root view into the panel, filling it; the panel owns it from then on.
    void setContent(QWidget* content);
    QWidget* content() const { return m_content; }
    // Off when the content reports hover and drags itself, so the pointer has one voice.
    void setTracksPointer(bool tracks) { m_tracksPointer = tracks; }

public slots:
    // Cuts the window to what the content paints where no compositor blends translucency; the
    // content calls it when its outline changes without a resize. A widget of the content that
    // moves, resizes, shows or hides has it cut again by itself.
    void refreshShape();

signals:
    void hoverChanged(bool hovered);
    // A left-button drag moved past the drag distance, and each move after that.
    void dragChanged();
    void dragEnded();

protected:
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void watchOutline(QObject* object);
    // Cuts the shape once the events now queued are handled, however many changes asked for it.
    void refreshShapeSoon();

    FloatingWindows& m_windows;
    QPointer<QWidget> m_content;
    std::optional<QPointF> m_pressedAt;
    bool m_dragging = false;
    bool m_shaping = false;
    bool m_shapeQueued = false;
    bool m_tracksPointer = true;
};
