#pragma once

#include "platform/output_devices.h"

#include <QString>
#include <QtGlobal>

#include <chrono>
#include <memory>

// The sinks of the PulseAudio server (or PipeWire's stand-in for it), over one libpulse
// connection that is made anew when the server has gone away. A device's id is its sink name.
class PulseOutputDevices final : public OutputDevices {
public:
    struct Options {
        QString server; // empty: the session's own server
        QString applicationName = QStringLiteral("Quenda");
        std::chrono::milliseconds timeout{1000}; // the longest one call waits, connecting included
    };

    PulseOutputDevices();
    explicit PulseOutputDevices(Options options);
    ~PulseOutputDevices() override;
    Q_DISABLE_COPY_MOVE(PulseOutputDevices)

    Result<QList<Device>, Error> devices() override;
    Result<bool, Error> mute(const QString& id) override;
    Result<double, Error> volume(const QString& id) override;
    Done setMute(const QString& id, bool muted) override;
    Done setVolume(const QString& id, double volume) override;

private:
    class Connection;
    std::unique_ptr<Connection> m_connection;
};
