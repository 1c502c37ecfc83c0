#pragma once

#include "platform/output_devices.h"

// Shows only the devices whose id starts with a prefix and refuses every other, so a test that
// silences "all" devices of the shared test server touches its own sinks alone.
class PrefixedOutputDevices final : public OutputDevices {
public:
    PrefixedOutputDevices(OutputDevices& devices, QString prefix);

    Result<QList<Device>, Error> devices() override;
    Result<bool, Error> mute(const QString& id) override;
    Result<double, Error> volume(const QString& id) override;
    Done setMute(const QString& id, bool muted) override;
    Done setVolume(const QString& id, double volume) override;

private:
    bool mine(const QString& id) const { return id.startsWith(m_prefix); }
    Error foreign(const QString& id) const
    {
        return {Failure::NoDevice, id + QStringLiteral(" is not a test sink")};
    }

    OutputDevices& m_devices;
    QString m_prefix;
};
