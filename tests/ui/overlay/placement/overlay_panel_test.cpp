#include "platform/fake/fake_floating_windows.h"
#include "ui/overlay/placement/overlay_panel.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QSignalSpy>

#include <gtest/gtest.h>

namespace {

// Paints an opaque block with a 10-pixel transparent margin, as a card with room for its shadow.
class Block final : public QWidget {
protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.fillRect(rect().adjusted(10, 10, -10, -10), Qt::darkGray);
    }
};

void send(QWidget* to, QEvent::Type type, QPoint at, Qt::MouseButtons buttons)
{
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, at, to->mapToGlobal(at), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(to, &event);
}

} // namespace

// Without a compositor the transparent margin shows black unless the window is cut to its shape.
TEST(OverlayPanel, WithoutACompositorTheWindowIsCutToWhatItsContentPaints)
{
    struct Case {
        const char* name;
        bool compositing;
        bool cut;
    };
    const Case cases[] = {{.name = "compositor", .compositing = true, .cut = false},
                          {.name = "no compositor", .compositing = false, .cut = true}};
    for (const Case& c : cases) {
        FakeFloatingWindows windows;
        windows.setCompositing(c.compositing);
        OverlayPanel panel(windows);
        panel.setContent(new Block);
        panel.setGeometry(100, 100, 120, 80);
        panel.show();
        EXPECT_EQ(panel.mask().isEmpty(), !c.cut) << c.name;
        if (c.cut) {
            EXPECT_TRUE(panel.mask().contains(QPoint(60, 40))) << c.name;
            EXPECT_TRUE(panel.mask().contains(QPoint(10, 10))) << c.name;
            EXPECT_FALSE(panel.mask().contains(QPoint(9, 40))) << c.name;
            EXPECT_FALSE(panel.mask().contains(QPoint(60, 70))) << c.name;
            panel.resize(200, 80);
            EXPECT_TRUE(panel.mask().contains(QPoint(180, 40))) << c.name;
        }
    }
}

// Window managers drop the all-workspaces state of a hidden window, so each show asks again.
TEST(OverlayPanel, EachShowAsksForEveryWorkspace)
{
    FakeFloatingWindows windows;
    OverlayPanel panel(windows);
    panel.show();
    panel.hide();
    panel.show();
    EXPECT_EQ(windows.kept(), (QList<quintptr>{panel.winId(), panel.winId()}));
}

// A click on the widget is no drag, and a press its view handles (a button) never moves it.
TEST(OverlayPanel, DragsStartPastTheDragDistanceOnTheBackgroundOnly)
{
    FakeFloatingWindows windows;
    OverlayPanel panel(windows);
    auto* content = new QWidget;
    auto* button = new QPushButton(content);
    button->setGeometry(0, 0, 40, 40);
    panel.setContent(content);
    panel.setGeometry(0, 0, 228, 72);
    panel.show();
    QSignalSpy moved(&panel, &OverlayPanel::dragChanged);
    QSignalSpy ended(&panel, &OverlayPanel::dragEnded);

    send(content, QEvent::MouseButtonPress, {100, 30}, Qt::LeftButton);
    send(content, QEvent::MouseMove, {103, 32}, Qt::LeftButton);
    send(content, QEvent::MouseButtonRelease, {103, 32}, Qt::NoButton);
    EXPECT_EQ(moved.count(), 0);
    EXPECT_EQ(ended.count(), 0);

    send(button, QEvent::MouseButtonPress, {10, 10}, Qt::LeftButton);
    send(button, QEvent::MouseMove, {60, 10}, Qt::LeftButton);
    send(button, QEvent::MouseButtonRelease, {60, 10}, Qt::NoButton);
    EXPECT_EQ(moved.count(), 0);

    send(content, QEvent::MouseButtonPress, {100, 30}, Qt::LeftButton);
    send(content, QEvent::MouseMove, {130, 30}, Qt::LeftButton);
    send(content, QEvent::MouseMove, {140, 30}, Qt::LeftButton);
    send(content, QEvent::MouseButtonRelease, {140, 30}, Qt::NoButton);
    EXPECT_EQ(moved.count(), 2);
    EXPECT_EQ(ended.count(), 1);
}
