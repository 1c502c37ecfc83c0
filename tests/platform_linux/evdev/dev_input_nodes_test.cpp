#include "platform/linux/evdev/dev_input_nodes.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <libevdev/libevdev.h>

#include <initializer_list>
#include <memory>

namespace {

void deliver()
{
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents();
}

bool touch(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly);
}

TEST(DevInputNodes, ListsEventNodesOnly)
{
    const QTemporaryDir dir;
    for (const char* name : {"event3", "event10", "mouse0", "js0"})
        ASSERT_TRUE(touch(dir.filePath(QString::fromLatin1(name))));
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("by-id")));
    DevInputNodes nodes(dir.path());
    QStringList names;
    for (const QString& path : nodes.list())
        names.append(QFileInfo(path).fileName());
    EXPECT_EQ(names.join(QLatin1Char(' ')).toStdString(), "event10 event3");
}

TEST(DevInputNodes, TellsNonDevicesAndVanishedNodesApart)
{
    const QTemporaryDir dir;
    ASSERT_TRUE(touch(dir.filePath(QStringLiteral("event0"))));
    DevInputNodes nodes(dir.path());
    EXPECT_EQ(nodes.open(dir.filePath(QStringLiteral("event0"))).kind, InputDeviceNodes::Kind::NotKeyboard);
    EXPECT_EQ(nodes.open(dir.filePath(QStringLiteral("event1"))).kind, InputDeviceNodes::Kind::Gone);
}

TEST(DevInputNodes, AFolderThatIsMissingHasNoNodes)
{
    DevInputNodes nodes(QStringLiteral("/nonexistent/input"));
    EXPECT_TRUE(nodes.list().isEmpty());
    nodes.watch([] {});
}

TEST(DevInputNodes, WatchingReportsEventNodesComingGoingAndUnlocked)
{
    const QTemporaryDir dir;
    DevInputNodes nodes(dir.path());
    int changes = 0;
    nodes.watch([&] { ++changes; });
    const QString event = dir.filePath(QStringLiteral("event5"));
    ASSERT_TRUE(touch(event));
    deliver();
    EXPECT_EQ(changes, 1) << "plugged";
    ASSERT_TRUE(QFile::setPermissions(event, QFile::ReadOwner));
    deliver();
    EXPECT_EQ(changes, 2) << "access changed";
    ASSERT_TRUE(touch(dir.filePath(QStringLiteral("mouse1"))));
    deliver();
    EXPECT_EQ(changes, 2) << "not an event node";
    ASSERT_TRUE(QFile::remove(event));
    deliver();
    EXPECT_EQ(changes, 3) << "unplugged";
    nodes.watch({});
    ASSERT_TRUE(touch(dir.filePath(QStringLiteral("event6"))));
    deliver();
    EXPECT_EQ(changes, 3) << "after watching stopped";
}

struct DeviceCase {
    const char* name;
    std::vector<std::pair<unsigned, unsigned>> codes; // type, code
    bool keyboard;
    bool pointer = false;
};

void PrintTo(const DeviceCase& row, std::ostream* os)
{
    *os << row.name;
}

class KeyboardOrNot : public testing::TestWithParam<DeviceCase> {};

TEST_P(KeyboardOrNot, IsToldByItsKeys)
{
    const std::unique_ptr<libevdev, void (*)(libevdev*)> device(libevdev_new(), &libevdev_free);
    for (const auto& [type, code] : GetParam().codes)
        ASSERT_EQ(libevdev_enable_event_code(device.get(), type, code, nullptr), 0);
    EXPECT_EQ(DevInputNodes::isKeyboard(device.get()), GetParam().keyboard);
    EXPECT_EQ(DevInputNodes::isPointer(device.get()), GetParam().pointer);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Rows, KeyboardOrNot, testing::Values(
    DeviceCase{.name = "FullKeyboard",          .codes = {{EV_KEY, KEY_ESC}, {EV_KEY, KEY_A}, {EV_KEY, KEY_LEFTCTRL}, {EV_KEY, KEY_RIGHTCTRL}}, .keyboard = true},
    DeviceCase{.name = "KeyboardWithTouchpad",  .codes = {{EV_KEY, KEY_A}, {EV_KEY, BTN_LEFT}, {EV_REL, REL_X}},                            .keyboard = true,  .pointer = true},
    DeviceCase{.name = "PedalSendingControl",   .codes = {{EV_KEY, KEY_RIGHTCTRL}},                                                      .keyboard = true},
    DeviceCase{.name = "Mouse",                 .codes = {{EV_KEY, BTN_LEFT}, {EV_KEY, BTN_RIGHT}, {EV_REL, REL_X}, {EV_REL, REL_Y}},    .keyboard = false, .pointer = true},
    DeviceCase{.name = "WheelOfItsOwn",         .codes = {{EV_REL, REL_WHEEL}},                                                          .keyboard = false, .pointer = true},
    DeviceCase{.name = "PowerButton",           .codes = {{EV_KEY, KEY_POWER}},                                                          .keyboard = false},
    DeviceCase{.name = "MediaKeysOnly",         .codes = {{EV_KEY, KEY_VOLUMEUP}, {EV_KEY, KEY_MUTE}, {EV_KEY, KEY_PLAYPAUSE}},          .keyboard = false},
    DeviceCase{.name = "LidSwitch",             .codes = {{EV_SW, SW_LID}},                                                              .keyboard = false}
));
// clang-format on

} // namespace
