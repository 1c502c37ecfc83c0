#pragma once

#include "platform/output_devices.h"

#include <QList>

#include <functional>
#include <iosfwd>
#include <mutex>
#include <optional>
#include <set>
#include <utility>

// Output devices kept in a list, with failure injection and a log of every change.
class FakeOutputDevices final : public OutputDevices {
public:
    enum class Operation { List, ReadMute, ReadVolume, SetMute, SetVolume };

    Result<QList<Device>, Error> devices() override;
    Result<bool, Error> mute(const QString& id) override;
    Result<double, Error> volume(const QString& id) override;
    Done setMute(const QString& id, bool muted) override;
    Done setVolume(const QString& id, double volume) override;

    // Seeds, replaces and inspects devices without counting as calls; add keeps the given order.
    void add(const Device& device);
    void remove(const QString& id);
    std::optional<Device> device(const QString& id) const;

    // That operation fails with Failed from now on; an empty id stands for every device.
    void setFailing(Operation operation, const QString& id, bool failing);

    // One change asked of a device: its mute or its volume.
    struct Change {
        QString id;
        std::optional<bool> muted = std::nullopt;
        std::optional<double> volume = std::nullopt;
        bool operator==(const Change&) const = default;
        friend void PrintTo(const Change& change, std::ostream* out); // for test failure messages
    };
    // Changes so far, oldest first.
    QList<Change> changes() const;
    // Runs just before each change is applied, so a test can look at the disk then; it must not
    // call back into this object.
    void setBeforeChange(std::function<void(const Change&)> hook);

private:
    bool failsLocked(Operation operation, const QString& id) const;
    Device* findLocked(const QString& id);
    void changeLocked(const Change& change);

    mutable std::mutex m_mutex;
    QList<Device> m_devices;
    std::set<std::pair<Operation, QString>> m_failing;
    QList<Change> m_changes;
    std::function<void(const Change&)> m_beforeChange;
};
