#pragma once

#include "platform/linux/evdev/input_device_nodes.h"

#include <memory>

class QSocketNotifier;
struct libevdev;

// The event nodes in /dev/input (or another folder), told apart through libevdev and watched
// with inotify. Opening never grabs: every other program still gets the keys.
class DevInputNodes final : public InputDeviceNodes {
public:
    explicit DevInputNodes(QString directory = QStringLiteral("/dev/input"));
    ~DevInputNodes() override;

    DevInputNodes(const DevInputNodes&) = delete;
    DevInputNodes& operator=(const DevInputNodes&) = delete;

    QStringList list() override;
    Opened open(const QString& path) override;
    void watch(std::function<void()> changed) override;

    // Has keys to type or the hotkey's own: not a mouse, a power button or a media remote.
    static bool isKeyboard(const libevdev* device);
    // Has a button to click or a wheel: a mouse or a touchpad.
    static bool isPointer(const libevdev* device);

private:
    void readNotifications();

    QString m_directory;
    std::function<void()> m_changed;
    int m_inotify = -1;
    std::unique_ptr<QSocketNotifier> m_notifier;
};
