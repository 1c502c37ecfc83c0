#pragma once

#include "core/base/result.h"

#include <QList>
#include <QString>

#include <optional>
#include <variant>

// The system's audio output devices with their mute switches and volumes. Every call blocks for
// a bounded time and reports a failure rather than waiting on; safe to call from any thread.
class OutputDevices {
public:
    struct Device {
        QString id; // stays the same across restarts of the sound system
        bool hasMute = false;
        std::optional<bool> muted;    // absent when there is no mute switch or it could not be read
        std::optional<double> volume; // 1.0 is the normal volume; above it is amplified; absent: none
    };

    enum class Failure {
        NoDevice,  // no device has that id (any more)
        NoControl, // the device lacks the switch or the volume
        Failed,    // the sound system did not answer, refused or is not running
    };
    struct Error {
        Failure failure = Failure::Failed;
        QString message;
    };
    using Done = Result<std::monostate, Error>;

    virtual ~OutputDevices() = default;

    // Every output device, in the system's order.
    virtual Result<QList<Device>, Error> devices() = 0;
    virtual Result<bool, Error> mute(const QString& id) = 0;
    // The loudest channel's volume.
    virtual Result<double, Error> volume(const QString& id) = 0;
    virtual Done setMute(const QString& id, bool muted) = 0;
    // Brings the loudest channel to volume and the others in proportion, so the balance stays.
    virtual Done setVolume(const QString& id, double volume) = 0;
};
