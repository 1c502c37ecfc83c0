#include "prefixed_output_devices.h"

PrefixedOutputDevices::PrefixedOutputDevices(OutputDevices& devices, QString prefix)
    : m_devices(devices)
    , m_prefix(std::move(prefix))
{
}

Result<QList<OutputDevices::Device>, OutputDevices::Error> PrefixedOutputDevices::devices()
{
    auto all = m_devices.devices();
    if (!all.ok())
        return all;
    QList<Device> own;
    for (const auto& device : all.value()) {
        if (mine(device.id))
            own.append(device);
    }
    return own;
}

Result<bool, OutputDevices::Error> PrefixedOutputDevices::mute(const QString& id)
{
    if (!mine(id))
        return foreign(id);
    return m_devices.mute(id);
}

Result<double, OutputDevices::Error> PrefixedOutputDevices::volume(const QString& id)
{
    if (!mine(id))
        return foreign(id);
    return m_devices.volume(id);
}

OutputDevices::Done PrefixedOutputDevices::setMute(const QString& id, bool muted)
{
    if (!mine(id))
        return foreign(id);
    return m_devices.setMute(id, muted);
}

OutputDevices::Done PrefixedOutputDevices::setVolume(const QString& id, double volume)
{
    if (!mine(id))
        return foreign(id);
    return m_devices.setVolume(id, volume);
}
