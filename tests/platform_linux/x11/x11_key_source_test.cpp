#include "platform/linux/x11/x11_key_source.h"
#include "xtest_keyboard.h"

#include <QKeyEvent>
#include <QTest>
#include <QWindow>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::string nameOf(PhysicalKey key)
{
    switch (key) {
    case PhysicalKey::RightAlt:
        return "RightAlt";
    case PhysicalKey::RightSuper:
        return "RightSuper";
    case PhysicalKey::RightControl:
        return "RightControl";
    case PhysicalKey::LeftControl:
        return "LeftControl";
    case PhysicalKey::Escape:
        return "Escape";
    case PhysicalKey::Modifier:
        return "Modifier";
    case PhysicalKey::Other:
        return "Other";
    }
    return "?";
}

class RecordingListener final : public KeySource::Listener {
public:
    void keyPressed(PhysicalKey key) override { keys.push_back("down " + nameOf(key)); }
    void keyReleased(PhysicalKey key) override { keys.push_back("up " + nameOf(key)); }

    bool waitFor(std::size_t count) const
    {
        return QTest::qWaitFor([&] { return keys.size() >= count; }, 5000);
    }

    std::vector<std::string> keys;
};

X11KeySource::Environment testServer()
{
    return {.displayName = qgetenv("DISPLAY"), .waylandSession = false};
}

struct TypedKey {
    const char* keysym;
    const char* reported;
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
    RecordingListener listener;
    X11KeySource source(testServer());
    ASSERT_EQ(source.start(listener), KeySource::Reach::Global);

    keyboard.tap(GetParam().keysym);
    ASSERT_TRUE(listener.waitFor(2));
    const std::string reported = GetParam().reported;
    EXPECT_EQ(listener.keys, (std::vector<std::string>{"down " + reported, "up " + reported}));
}

const TypedKey kTypedKeys[] = {
    {.keysym = "Control_R", .reported = "RightControl"},
    {.keysym = "Control_L", .reported = "LeftControl"},
    {.keysym = "Alt_R", .reported = "RightAlt"},
    {.keysym = "Super_R", .reported = "RightSuper"},
    {.keysym = "Escape", .reported = "Escape"},
    {.keysym = "Shift_L", .reported = "Modifier"},
    {.keysym = "Alt_L", .reported = "Modifier"},
    {.keysym = "Super_L", .reported = "Modifier"},
    {.keysym = "a", .reported = "Other"},
    {.keysym = "Return", .reported = "Other"},
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
    RecordingListener listener;
    X11KeySource source(testServer());
    ASSERT_EQ(source.start(listener), KeySource::Reach::Global);

    keyboard.tap("Control_R");
    ASSERT_TRUE(listener.waitFor(2));
    EXPECT_EQ(listener.keys, (std::vector<std::string>{"down RightControl", "up RightControl"}));
}

// An open menu grabs the keyboard; an XInput 2.0 client would see nothing until it closes.
TEST(X11KeySource, SeesKeysWhileAnotherProgramGrabsTheKeyboard)
{
    XTestKeyboard keyboard;
    ASSERT_TRUE(keyboard.isOpen());
    RecordingListener listener;
    X11KeySource source(testServer());
    ASSERT_EQ(source.start(listener), KeySource::Reach::Global);

    ASSERT_TRUE(keyboard.grabKeyboard());
    keyboard.tap("Control_R");
    ASSERT_TRUE(listener.waitFor(2));
    EXPECT_EQ(listener.keys, (std::vector<std::string>{"down RightControl", "up RightControl"}));
}

TEST(X11KeySource, ReportsNothingOnceStoppedOrDestroyed)
{
    XTestKeyboard keyboard;
    ASSERT_TRUE(keyboard.isOpen());
    RecordingListener stopped;
    RecordingListener fence;
    X11KeySource first(testServer());
    first.start(stopped);
    first.stop();
    {
        RecordingListener gone;
        X11KeySource destroyed(testServer());
        destroyed.start(gone);
    }
    X11KeySource second(testServer());
    second.start(fence);

    keyboard.tap("Escape");
    ASSERT_TRUE(fence.waitFor(2));
    EXPECT_TRUE(stopped.keys.empty());
}

// A listener may stop the source while the tap is still handing over keys read in one go.
TEST(X11KeySource, AListenerThatStopsTheSourceGetsNoFurtherKeys)
{
    XTestKeyboard keyboard;
    ASSERT_TRUE(keyboard.isOpen());
    X11KeySource source(testServer());
    class StopAtFirstKey final : public KeySource::Listener {
    public:
        explicit StopAtFirstKey(X11KeySource& source)
            : m_source(source)
        {
        }
        void keyPressed(PhysicalKey key) override { record("down " + nameOf(key)); }
        void keyReleased(PhysicalKey key) override { record("up " + nameOf(key)); }
        std::vector<std::string> keys;

    private:
        void record(std::string key)
        {
            keys.push_back(std::move(key));
            m_source.stop();
        }
        X11KeySource& m_source;
    } listener(source);
    ASSERT_EQ(source.start(listener), KeySource::Reach::Global);

    keyboard.tap("Control_R");
    ASSERT_TRUE(QTest::qWaitFor([&] { return !listener.keys.empty(); }, 5000));
    EXPECT_EQ(listener.keys, std::vector<std::string>{"down RightControl"});
}

struct WindowKey {
    const char* name;
    int qtKey;
    quint32 scanCode;
    const char* reported;
};

void PrintTo(const WindowKey& key, std::ostream* os)
{
    *os << key.name;
}

class OwnWindowFallback : public ::testing::TestWithParam<WindowKey> {};

TEST_P(OwnWindowFallback, TellsKeysApartByTheirKeycode)
{
    RecordingListener listener;
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

    const std::string reported = key.reported;
    EXPECT_EQ(listener.keys, (std::vector<std::string>{"down " + reported, "up " + reported}));
}

const WindowKey kWindowKeys[] = {
    {.name = "RightControl", .qtKey = Qt::Key_Control, .scanCode = 105, .reported = "RightControl"},
    {.name = "LeftControl", .qtKey = Qt::Key_Control, .scanCode = 37, .reported = "LeftControl"},
    {.name = "RightAlt", .qtKey = Qt::Key_Alt, .scanCode = 108, .reported = "RightAlt"},
    // Layouts with AltGr put it on the right Alt key.
    {.name = "AltGr", .qtKey = Qt::Key_AltGr, .scanCode = 108, .reported = "RightAlt"},
    {.name = "RightSuper", .qtKey = Qt::Key_Super_R, .scanCode = 134, .reported = "RightSuper"},
    {.name = "Escape", .qtKey = Qt::Key_Escape, .scanCode = 9, .reported = "Escape"},
    {.name = "LeftAlt", .qtKey = Qt::Key_Alt, .scanCode = 64, .reported = "Modifier"},
    {.name = "Shift", .qtKey = Qt::Key_Shift, .scanCode = 50, .reported = "Modifier"},
    {.name = "ControlOfUnknownSide", .qtKey = Qt::Key_Control, .scanCode = 0, .reported = "Modifier"},
    {.name = "Letter", .qtKey = Qt::Key_A, .scanCode = 38, .reported = "Other"},
    // A keymap that puts a letter where right Control usually sits.
    {.name = "LetterOnTheRightControlKey", .qtKey = Qt::Key_A, .scanCode = 105, .reported = "Other"},
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
        RecordingListener listener;
        X11KeySource source(environment);
        EXPECT_EQ(source.start(listener), KeySource::Reach::OwnWindows)
            << environment.displayName.constData();
    }
}

// With the global tap running, keys of our own windows come through it already.
TEST(X11KeySource, GlobalTapLeavesOwnWindowEventsAlone)
{
    RecordingListener listener;
    X11KeySource source(testServer());
    ASSERT_EQ(source.start(listener), KeySource::Reach::Global);
    QWindow window;
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Control, Qt::NoModifier, 105, 0, 0);
    QCoreApplication::sendEvent(&window, &press);
    EXPECT_TRUE(listener.keys.empty());
}

} // namespace
