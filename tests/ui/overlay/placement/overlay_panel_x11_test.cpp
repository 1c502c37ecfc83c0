#include "core/state/state_fixture.h"
#include "ui/overlay/geometry_printer.h"

#include "platform/linux/x11/x11_floating_windows.h"
#include "ui/overlay/placement/overlay_controller.h"
#include "ui/overlay/placement/overlay_panel.h"
#include "ui/overlay/placement/qt_screen_source.h"

#include <QApplication>
#include <QCursor>
#include <QLineEdit>
#include <QPainter>
#include <QPalette>
#include <QTest>
#include <QToolTip>
#include <QtGui/qguiapplication_platform.h>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>

#include <memory>

namespace {

// A pill-like view: opaque in the middle, transparent around it, with a tooltip.
class Pill final : public QWidget {
public:
    Pill() { setToolTip(QStringLiteral("Dictate")); }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setBrush(Qt::black);
        painter.drawRoundedRect(QRectF(rect()).adjusted(8, 8, -8, -8), 20, 20);
    }
};

// Counts events of one type that reach a widget, so a test knows when Qt has handled what it sent.
// It watches the application: Qt shows a widget without mouse tracking its bare moves only there.
class EventCount final : public QObject {
public:
    EventCount(QWidget* widget, QEvent::Type type)
        : m_widget(widget)
        , m_type(type)
    {
        qApp->installEventFilter(this);
    }
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == m_widget && event->type() == m_type)
            ++count;
        return false;
    }
    int count = 0;

private:
    QWidget* m_widget;
    QEvent::Type m_type;
};

} // namespace

// The real panel on the test X server, which runs no window manager: nothing but the panel's own
// hints and Qt's handling of them keeps the focus where it is. Waits are bounded and only for X
// events to arrive.
class OverlayPanelOverX11 : public StateFixture {
protected:
    void SetUp() override
    {
        StateFixture::SetUp();
        ASSERT_EQ(QGuiApplication::platformName(), s("xcb"))
            << "needs the test X server (scripts/with-services)";
        m_display = XOpenDisplay(nullptr);
        ASSERT_TRUE(m_display);
        int event = 0, error = 0, major = 0, minor = 0;
        ASSERT_TRUE(XTestQueryExtension(m_display, &event, &error, &major, &minor));

        makeStateWith([](QuendaConfig& c) {
            c.showWidget = true;
            c.widgetFollowActiveScreen = false;
        });
        m_controller = std::make_unique<OverlayController>(
            state(),
            OverlayController::Services{.clock = m_clock, .screens = m_screens, .windows = m_windows});
        m_controller->setContent(new Pill);
        state().setPhase(Phase::listening());
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&panel()));
    }
    void TearDown() override
    {
        m_controller.reset();
        if (m_display)
            XCloseDisplay(m_display);
        StateFixture::TearDown();
    }

    OverlayPanel& panel() const { return m_controller->panel(); }
    Window panelWindow() const { return Window(panel().winId()); }

    void movePointer(QPoint global)
    {
        XTestFakeMotionEvent(m_display, -1, global.x(), global.y(), CurrentTime);
        XSync(m_display, False);
    }
    void click(QPoint global)
    {
        movePointer(global);
        XTestFakeButtonEvent(m_display, 1, True, CurrentTime);
        XTestFakeButtonEvent(m_display, 1, False, CurrentTime);
        XSync(m_display, False);
    }
    // Lets Qt send and handle everything up to now: its requests reach the server before we ask it.
    void settle()
    {
        QCoreApplication::processEvents();
        XSync(qGuiApp->nativeInterface<QNativeInterface::QX11Application>()->display(), False);
        QCoreApplication::processEvents();
    }
    Window inputFocus() const
    {
        Window focus = 0;
        int revert = 0;
        XGetInputFocus(m_display, &focus, &revert);
        return focus;
    }
    Atom atom(const char* name) const { return XInternAtom(m_display, name, False); }
    // The 32-bit items of a window property; Xlib hands them over in longs, sign-extended.
    QList<quint32> property(Window window, const char* name, Atom type) const
    {
        Atom actualType = 0;
        int format = 0;
        unsigned long count = 0, after = 0;
        unsigned char* data = nullptr;
        QList<quint32> items;
        if (XGetWindowProperty(m_display, window, atom(name), 0, 1024, False, type, &actualType, &format,
                               &count, &after, &data) == Success &&
            data && format == 32) {
            const auto* longs = reinterpret_cast<const unsigned long*>(data);
            for (unsigned long i = 0; i < count; ++i)
                items.append(quint32(longs[i]));
        }
        if (data)
            XFree(data);
        return items;
    }

    Display* m_display = nullptr;
    QtScreenSource m_screens;
    X11FloatingWindows m_windows;
    std::unique_ptr<OverlayController> m_controller;
};

// Qt asks for activation on a click unless the window refuses focus: the text the user dictates
// into would lose its focus and selection to the widget.
TEST_F(OverlayPanelOverX11, ClickingThePanelLeavesTheFocusAndSelectionWithTheTargetWindow)
{
    QWidget target;
    target.setGeometry(100, 100, 300, 60);
    auto* edit = new QLineEdit(s("hello world"), &target);
    edit->setGeometry(10, 10, 280, 30);
    target.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&target));
    target.activateWindow();
    edit->setFocus();
    edit->setSelection(6, 5);
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return QApplication::focusWidget() == edit && inputFocus() == Window(target.winId()); }, 5000));

    EventCount releases(&panel(), QEvent::MouseButtonRelease);
    click(panel().geometry().center());
    ASSERT_TRUE(QTest::qWaitFor([&] { return releases.count == 1; }, 5000));
    settle();

    EXPECT_EQ(inputFocus(), Window(target.winId()));
    EXPECT_EQ(QApplication::focusWidget(), edit);
    EXPECT_EQ(QApplication::activeWindow(), &target);
    EXPECT_EQ(edit->selectedText(), s("world"));
    EXPECT_FALSE(m_controller->panelHasFocus());
}

// What a window manager reads: no input wanted, every desktop, sticky beside Qt's own states.
TEST_F(OverlayPanelOverX11, ThePanelTellsWindowManagersItWantsNoFocusAndEveryWorkspace)
{
    XWMHints* hints = XGetWMHints(m_display, panelWindow());
    ASSERT_TRUE(hints);
    EXPECT_TRUE(hints->flags & InputHint);
    EXPECT_FALSE(hints->input);
    XFree(hints);

    EXPECT_EQ(property(panelWindow(), "_NET_WM_DESKTOP", XA_CARDINAL), QList<quint32>{0xFFFFFFFFu});
    const QList<quint32> states = property(panelWindow(), "_NET_WM_STATE", XA_ATOM);
    EXPECT_TRUE(states.contains(quint32(atom("_NET_WM_STATE_STICKY"))));
    EXPECT_TRUE(states.contains(quint32(atom("_NET_WM_STATE_ABOVE"))));
}

// Xvfb runs no compositor: translucent pixels would show black, so the window is cut to its pill.
// A compositor is known by its selection, which this test takes for a moment.
TEST_F(OverlayPanelOverX11, WithoutACompositorThePanelIsCutToItsPillAndOneIsSeenWhenItStarts)
{
    EXPECT_FALSE(m_windows.compositing(panelWindow()));
    const QRect pill = panel().rect().adjusted(8, 8, -8, -8);
    EXPECT_TRUE(panel().mask().contains(pill.center()));
    EXPECT_FALSE(panel().mask().contains(QPoint(2, 2)));

    const Window owner = XCreateSimpleWindow(m_display, DefaultRootWindow(m_display), 0, 0, 1, 1, 0, 0, 0);
    const Atom selection = atom(qPrintable(QStringLiteral("_NET_WM_CM_S%1").arg(DefaultScreen(m_display))));
    XSetSelectionOwner(m_display, selection, owner, CurrentTime);
    XSync(m_display, False);
    EXPECT_TRUE(m_windows.compositing(panelWindow()));
    XDestroyWindow(m_display, owner);
    XSync(m_display, False);
    EXPECT_FALSE(m_windows.compositing(panelWindow()));
}

// The pill grows from the chip to the toolbar after the panel took its new size: a shape cut only
// when the panel resizes keeps the chip's, and the toolbar's buttons cannot be reached.
TEST_F(OverlayPanelOverX11, WithoutACompositorTheShapeFollowsAWidgetOfTheContentAsItGrowsAndShrinks)
{
    auto* content = new QWidget;
    auto* chip = new QWidget(content);
    chip->setAutoFillBackground(true);
    chip->setPalette(QPalette(Qt::black));
    chip->setGeometry(10, 10, 36, 19);
    m_controller->setContent(content);
    settle();
    ASSERT_FALSE(m_windows.compositing(panelWindow()));
    ASSERT_GE(panel().width(), 60);
    ASSERT_GE(panel().height(), 40);
    EXPECT_EQ(panel().mask().boundingRect(), QRect(10, 10, 36, 19));

    // clang-format off
    const struct { const char* what; QRect pill; } rows[] = {
        {.what = "grown",  .pill = QRect(5, 5, panel().width() - 10, panel().height() - 10)},
        {.what = "shrunk", .pill = QRect(20, 12, 30, 16)},
    };
    // clang-format on
    for (const auto& row : rows) {
        chip->setGeometry(row.pill);
        QCoreApplication::processEvents();
        EXPECT_EQ(panel().mask().boundingRect(), row.pill) << row.what;
    }
}

// The test X server runs no window manager, which alone would keep the panel above: the main
// window, opened later, covers it until a card appears.
TEST_F(OverlayPanelOverX11, ACardAppearingRaisesThePanelAboveAWindowOfOursOpenedSince)
{
    QWidget main;
    main.setGeometry(panel().geometry().adjusted(-40, -40, 40, 40));
    main.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&main));
    settle();
    const auto stackIndex = [&](Window window) {
        Window root = 0, parent = 0;
        Window* children = nullptr;
        unsigned int count = 0;
        XQueryTree(m_display, DefaultRootWindow(m_display), &root, &parent, &children, &count);
        int index = -1;
        for (unsigned int i = 0; i < count; ++i)
            if (children[i] == window)
                index = int(i);
        if (children)
            XFree(children);
        return index;
    };
    ASSERT_LT(stackIndex(panelWindow()), stackIndex(Window(main.winId()))) << "the panel was not covered";

    const OverlayResultChoice answer{OverlayResultChoice::Kind::Command, s("Answer"), s("text")};
    state().setOverlayResult(OverlayResult{s("shorten"), s("x"), QList{answer}});
    settle();
    EXPECT_GT(stackIndex(panelWindow()), stackIndex(Window(main.winId())));
}

// Qt shows tooltips only over the active window, which the panel never is.
TEST_F(OverlayPanelOverX11, HoveringThePanelShowsItsTooltipAndHoversTheWidget)
{
    // Qt drops a motion that comes with the enter event, so each step waits for its event.
    EventCount left(&panel(), QEvent::Leave);
    const bool wasOver = panel().geometry().contains(QCursor::pos());
    movePointer(panel().geometry().topLeft() - QPoint(20, 20));
    if (wasOver) {
        ASSERT_TRUE(QTest::qWaitFor([&] { return left.count > 0; }, 5000));
    }
    EventCount entered(&panel(), QEvent::Enter);
    EventCount moved(panel().content(), QEvent::MouseMove);
    movePointer(panel().geometry().center() - QPoint(5, 0));
    ASSERT_TRUE(QTest::qWaitFor([&] { return entered.count > 0; }, 5000));
    movePointer(panel().geometry().center());
    ASSERT_TRUE(QTest::qWaitFor([&] { return moved.count > 0; }, 5000));
    EXPECT_TRUE(QTest::qWaitFor([] { return QToolTip::isVisible(); }, 5000));
    EXPECT_EQ(QToolTip::text(), s("Dictate"));
    EXPECT_TRUE(state().widgetHovered());
    EXPECT_FALSE(m_controller->panelHasFocus());
}
