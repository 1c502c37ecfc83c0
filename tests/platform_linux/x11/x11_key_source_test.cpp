#include "platform/fake/recording_key_listener.h"
#include "platform/linux/x11/x11_key_source.h"
#include "xtest_keyboard.h"

#include <QKeyEvent>
#include <QTest>
#include <QWindow>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using enum PhysicalKey;

// A key pressed and released.
QList<KeyReport> tapped(PhysicalKey key)
{
    return {KeyReport::pressed(key), KeyReport::released(key)};
}

bool heard(const RecordingKeyListener& listener, qsizetype count)
{
    return QTest::qWaitFor([&] { return listener.reports.size() >= count; }, 5000);
}

X11KeySource::Environment testServer()
{
    return {.displayName = qgetenv("DISPLAY"), .waylandSession = false};
}

struct TypedKey {
    const char* keysym;
    PhysicalKey reported;
};

void PrintTo(const TypedKey& key, std::ostream* os)
{
    *os << key.keysym;
}

class TypedOnTheDesktop : public ::testing::TestWithParam<TypedKey> {};

// Each key exactly once: with every device selected instead of the master keyboards, each
// would come twice.
TEST_P(TypedOnTheDesktop, ArrivesOnceAsPressAndRelease)
{
    XTestKeyboard keyboard;
    ASSERT_TRUE(keyboard.isOpen()) << "needs the test X server (scripts/with-services)";
    RecordingKeyListener listener;
    X11KeySource source(testServer());
    ASSERT_EQ(source.start(listener), KeySource::Reach::Global);

    keyboard.tap(GetParam().keysym);
    ASSERT_TRUE(heard(listener, 2));
    EXPECT_EQ(listener.reports, tapped(GetParam().reported));
}

const TypedKey kTypedKeys[] = {
    {.keysym = "Control_R", .reported = RightControl},
    {.keysym = "Control_L", .reported = LeftControl},
    {.keysym = "Alt_R", .reported = RightAlt},
    {.keysym = "Super_R", .reported = RightSuper},
    {.keysym = "Escape", .reported = Escape},
    {.keysym = "Shift_L", .reported = Modifier},
    {.keysym = "Alt_L", .reported = Modifier},
    {.keysym = "Super_L", .reported = Modifier},
    {.keysym = "a", .reported = Other},
    {.keysym = "Return", .reported = Other},
};

INSTANTIATE_TEST_SUITE_P(Keys, TypedOnTheDesktop, ::testing::ValuesIn(kTypedKeys),
                         [](const auto& info) { return std::string(info.param.keysym); });

// Keyboards without the evdev layout place the named keys elsewhere.
TEST(X11KeySource, FindsTheNamedKeysWhereTheKeymapPutsThem)
{
    XTestKeyboard keyboard;
    ASSERT_TRUE(keyboard.isOpen());
    // A keycode the test server leaves empty; being lower, it wins over 105 for right Control.
    keyboard.remap(97, "Control_R");
    ASSERT_EQ(keyboard.keycodeOf("Control_R"), 97u);
    RecordingKeyListener listener;
    X11KeySource source(testServer());
    ASSERT_EQ(source.start(listener), KeySource::Reach::Global);

    keyboard.tap("Control_R");
    ASSERT_TRUE(heard(listener, 2));
    EXPECT_EQ(listener.reports, tapped(RightControl));
}

// An open menu grabs the keyboard; an XInput 2.0 client would see nothing until it closes.
TEST(X11KeySource, SeesKeysWhileAnotherProgramGrabsTheKeyboard)
{
    XTestKeyboard keyboard;
    ASSERT_TRUE(keyboard.isOpen());
    RecordingKeyListener listener;
    X11KeySource source(testServer());
    ASSERT_EQ(source.start(listener), KeySource::Reach::Global);

    ASSERT_TRUE(keyboard.grabKeyboard());
    keyboard.tap("Control_R");
    ASSERT_TRUE(heard(listener, 2));
    EXPECT_EQ(listener.reports, tapped(RightControl));
}

// Ctrl+click and Ctrl+scroll: each button and wheel turn once, as presses only.
TEST(X11KeySource, SeesClicksAndTheWheelOfEveryMouse)
{
    XTestKeyboard keyboard;
    ASSERT_TRUE(keyboard.isOpen());
    RecordingKeyListener listener;
    X11KeySource source(testServer());
    ASSERT_EQ(source.start(listener), KeySource::Reach::Global);

    for (unsigned button : {1u, 3u, 4u, 5u})
        keyboard.click(button);
    keyboard.tap("Escape");
    ASSERT_TRUE(heard(listener, 2));
    EXPECT_EQ(listener.buttons, 4);
}

TEST(X11KeySource, ReportsNothingOnceStoppedOrDestroyed)
{
    XTestKeyboard keyboard;
    ASSERT_TRUE(keyboard.isOpen());
    RecordingKeyListener stopped;
    RecordingKeyListener fence;
    X11KeySource first(testServer());
    first.start(stopped);
    first.stop();
    {
        RecordingKeyListener gone;
        X11KeySource destroyed(testServer());
        destroyed.start(gone);
    }
    X11KeySource second(testServer());
    second.start(fence);

    keyboard.tap("Escape");
    ASSERT_TRUE(heard(fence, 2));
    EXPECT_TRUE(stopped.reports.empty());
}

// A listener may stop the source while the tap is still handing over keys read in one go.
TEST(X11KeySource, AListenerThatStopsTheSourceGetsNoFurtherKeys)
{
    XTestKeyboard keyboard;
    ASSERT_TRUE(keyboard.isOpen());
    X11KeySource source(testServer());
    RecordingKeyListener listener;
    listener.onReport = [&](const KeyReport&) { source.stop(); };
    ASSERT_EQ(source.start(listener), KeySource::Reach::Global);

    keyboard.tap("Control_R");
    ASSERT_TRUE(heard(listener, 1));
    EXPECT_EQ(listener.reports, QList{KeyReport::pressed(RightControl)});
}

struct WindowKey {
    const char* name;
    int qtKey;
    quint32 scanCode;
    PhysicalKey reported;
};

void PrintTo(const WindowKey& key, std::ostream* os)
{
    *os << key.name;
}

class OwnWindowFallback : public ::testing::TestWithParam<WindowKey> {};

TEST_P(OwnWindowFallback, TellsKeysApartByTheirKeycode)
{
    RecordingKeyListener listener;
    X11KeySource source({.displayName = {}, .waylandSession = false});
    ASSERT_EQ(source.start(listener), KeySource::Reach::OwnWindows);
    QWindow window;
    QObject widget;

    const WindowKey& key = GetParam();
    QKeyEvent press(QEvent::KeyPress, key.qtKey, Qt::NoModifier, key.scanCode, 0, 0);
    QKeyEvent release(QEvent::KeyRelease, key.qtKey, Qt::NoModifier, key.scanCode, 0, 0);
    QCoreApplication::sendEvent(&window, &press);
    // Passed on to a widget, the same key is not reported a second time.
    QCoreApplication::sendEvent(&widget, &press);
    QCoreApplication::sendEvent(&window, &release);

    EXPECT_EQ(listener.reports, tapped(key.reported));
}

TEST(OwnWindowFallback, SeesClicksAndTheWheelInOurWindows)
{
    RecordingKeyListener listener;
    X11KeySource source({.displayName = {}, .waylandSession = false});
    ASSERT_EQ(source.start(listener), KeySource::Reach::OwnWindows);
    QWindow window;
    QObject widget;
    QMouseEvent click(QEvent::MouseButtonPress, {1, 1}, {1, 1}, Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QWheelEvent wheel({1, 1}, {1, 1}, {}, {0, 120}, Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(&window, &click);
    QCoreApplication::sendEvent(&widget, &click);
    QCoreApplication::sendEvent(&window, &wheel);
    EXPECT_EQ(listener.buttons, 2);
}

const WindowKey kWindowKeys[] = {
    {.name = "RightControl", .qtKey = Qt::Key_Control, .scanCode = 105, .reported = RightControl},
    {.name = "LeftControl", .qtKey = Qt::Key_Control, .scanCode = 37, .reported = LeftControl},
    {.name = "RightAlt", .qtKey = Qt::Key_Alt, .scanCode = 108, .reported = RightAlt},
    // Layouts with AltGr put it on the right Alt key.
    {.name = "AltGr", .qtKey = Qt::Key_AltGr, .scanCode = 108, .reported = RightAlt},
    {.name = "RightSuper", .qtKey = Qt::Key_Super_R, .scanCode = 134, .reported = RightSuper},
    {.name = "Escape", .qtKey = Qt::Key_Escape, .scanCode = 9, .reported = Escape},
    {.name = "LeftAlt", .qtKey = Qt::Key_Alt, .scanCode = 64, .reported = Modifier},
    {.name = "Shift", .qtKey = Qt::Key_Shift, .scanCode = 50, .reported = Modifier},
    {.name = "ControlOfUnknownSide", .qtKey = Qt::Key_Control, .scanCode = 0, .reported = Modifier},
    {.name = "Letter", .qtKey = Qt::Key_A, .scanCode = 38, .reported = Other},
    // A keymap that puts a letter where right Control usually sits.
    {.name = "LetterOnTheRightControlKey", .qtKey = Qt::Key_A, .scanCode = 105, .reported = Other},
};

INSTANTIATE_TEST_SUITE_P(Keys, OwnWindowFallback, ::testing::ValuesIn(kWindowKeys),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(X11KeySource, FallsBackToOwnWindowsWithoutAUsableXServer)
{
    for (const X11KeySource::Environment& environment : {
             X11KeySource::Environment{.displayName = {}, .waylandSession = false},
             X11KeySource::Environment{.displayName = ":9999", .waylandSession = false},
             // Xwayland would pass raw events only while one of its windows has the focus.
             X11KeySource::Environment{.displayName = qgetenv("DISPLAY"), .waylandSession = true},
         }) {
        RecordingKeyListener listener;
        X11KeySource source(environment);
        EXPECT_EQ(source.start(listener), KeySource::Reach::OwnWindows)
            << environment.displayName.constData();
    }
}

// With the global tap running, keys of our own windows come through it already.
TEST(X11KeySource, GlobalTapLeavesOwnWindowEventsAlone)
{
    RecordingKeyListener listener;
    X11KeySource source(testServer());
    ASSERT_EQ(source.start(listener), KeySource::Reach::Global);
    QWindow window;
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Control, Qt::NoModifier, 105, 0, 0);
    QCoreApplication::sendEvent(&window, &press);
    EXPECT_TRUE(listener.reports.empty());
}

} // namespace
