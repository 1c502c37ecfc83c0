#include "platform/fake/fake_output_devices.h"

#include <ostream>

namespace {

OutputDevices::Error error(OutputDevices::Failure failure, const QString& id)
{
    return {failure, id};
}

} // namespace

Result<QList<OutputDevices::Device>, OutputDevices::Error> FakeOutputDevices::devices()
{
    std::lock_guard lock(m_mutex);
    if (failsLocked(Operation::List, {}))
        return error(Failure::Failed, {});
    return m_devices;
}

Result<bool, OutputDevices::Error> FakeOutputDevices::mute(const QString& id)
{
    std::lock_guard lock(m_mutex);
    const Device* device = findLocked(id);
    if (!device)
        return error(Failure::NoDevice, id);
    if (failsLocked(Operation::ReadMute, id))
        return error(Failure::Failed, id);
    if (!device->hasMute)
        return error(Failure::NoControl, id);
    if (!device->muted)
        return error(Failure::Failed, id);
    return *device->muted;
}

Result<double, OutputDevices::Error> FakeOutputDevices::volume(const QString& id)
{
    std::lock_guard lock(m_mutex);
    const Device* device = findLocked(id);
    if (!device)
        return error(Failure::NoDevice, id);
    if (failsLocked(Operation::ReadVolume, id))
        return error(Failure::Failed, id);
    if (!device->volume)
        return error(Failure::NoControl, id);
    return *device->volume;
}

OutputDevices::Done FakeOutputDevices::setMute(const QString& id, bool muted)
{
    std::lock_guard lock(m_mutex);
    Device* device = findLocked(id);
    if (!device)
        return error(Failure::NoDevice, id);
    if (failsLocked(Operation::SetMute, id))
        return error(Failure::Failed, id);
    if (!device->hasMute)
        return error(Failure::NoControl, id);
    changeLocked({.id = id, .muted = muted});
    device->muted = muted;
    return std::monostate{};
}

OutputDevices::Done FakeOutputDevices::setVolume(const QString& id, double volume)
{
    std::lock_guard lock(m_mutex);
    Device* device = findLocked(id);
    if (!device)
        return error(Failure::NoDevice, id);
    if (failsLocked(Operation::SetVolume, id))
        return error(Failure::Failed, id);
    if (!device->volume)
        return error(Failure::NoControl, id);
    changeLocked({.id = id, .volume = volume});
    device->volume = volume;
    return std::monostate{};
}

void FakeOutputDevices::add(const Device& device)
{
    std::lock_guard lock(m_mutex);
    if (Device* existing = findLocked(device.id))
        *existing = device;
    else
        m_devices.append(device);
}

void FakeOutputDevices::remove(const QString& id)
{
    std::lock_guard lock(m_mutex);
    m_devices.removeIf([&](const Device& device) { return device.id == id; });
}

std::optional<OutputDevices::Device> FakeOutputDevices::device(const QString& id) const
{
    std::lock_guard lock(m_mutex);
    for (const auto& device : m_devices) {
        if (device.id == id)
            return device;
    }
    return std::nullopt;
}

void FakeOutputDevices::setFailing(Operation operation, const QString& id, bool failing)
{
    std::lock_guard lock(m_mutex);
    if (failing)
        m_failing.insert({operation, id});
    else
        m_failing.erase({operation, id});
}

QList<FakeOutputDevices::Change> FakeOutputDevices::changes() const
{
    std::lock_guard lock(m_mutex);
    return m_changes;
}

void FakeOutputDevices::setBeforeChange(std::function<void(const Change&)> hook)
{
    std::lock_guard lock(m_mutex);
    m_beforeChange = std::move(hook);
}

bool FakeOutputDevices::failsLocked(Operation operation, const QString& id) const
{
    return m_failing.contains({operation, QString()}) || m_failing.contains({operation, id});
}

OutputDevices::Device* FakeOutputDevices::findLocked(const QString& id)
{
    for (auto& device : m_devices) {
        if (device.id == id)
            return &device;
    }
    return nullptr;
}

void FakeOutputDevices::changeLocked(const Change& change)
{
    m_changes.append(change);
    if (m_beforeChange)
        m_beforeChange(change);
}

void PrintTo(const FakeOutputDevices::Change& change, std::ostream* out)
{
    if (change.muted)
        *out << "mute " << change.id.toStdString() << (*change.muted ? " 1" : " 0");
    if (change.volume)
        *out << "volume " << change.id.toStdString() << ' ' << *change.volume;
}
