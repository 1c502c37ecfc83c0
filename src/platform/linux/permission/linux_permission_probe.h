#pragma once

#include "core/base/clock.h"
#include "core/base/work_queue.h"
#include "core/model/session_routes.h"
#include "platform/linux/atspi/accessibility_bus.h"
#include "platform/linux/permission/pulse_source_watch.h"
#include "platform/permission_probe.h"

#include <QByteArray>
#include <QObject>
#include <QString>

// The Linux permissions: the microphone counts as available while PulseAudio has a capture
// source, accessibility as trusted while the AT-SPI bus is switched on and the session's key route
// can post keys (XTest on the X server of an X11 session; a Wayland session's own route otherwise).
// Answers come from what the background last found, so the poll never waits; both are false until
// the first answers are in. Nothing is asked while nobody polls.
class LinuxPermissionProbe final : public QObject, public PermissionProbe {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(LinuxPermissionProbe)

public:
    struct Sources {
        QString accessibilityService = AccessibilityBus::busName;
        QByteArray pulseServer = {}; // empty: the default one
        QByteArray xDisplay = {};    // empty: $DISPLAY
        KeyRoute keys = KeyRoute::XTest;
    };
    // A poll this long after the last reading asks the bus again; switching it on needs no restart.
    static constexpr int refreshMs = 2000;

    // The accessibility bus is read on `work`, whose thread may wait up to a second for it.
    LinuxPermissionProbe(Clock& clock, WorkQueue& work, QObject* parent = nullptr);
    LinuxPermissionProbe(Clock& clock, WorkQueue& work, const Sources& sources, QObject* parent = nullptr);
    ~LinuxPermissionProbe() override;

    bool microphoneAvailable() const override;
    bool accessibilityTrusted() const override;
    bool answered() const override;

private:
    // Starts a reading in the background; the answer lands in m_busEnabled.
    void refresh() const;

    Clock& m_clock;
    WorkQueue& m_work;
    const QString m_accessibilityService;
    const bool m_keys;
    PulseSourceWatch m_sources;
    mutable bool m_busEnabled = false;
    mutable bool m_busAnswered = false;
    mutable bool m_asking = false;
    mutable qint64 m_askedAtMs = 0;
    // The context of the readings' answers: a poll, which is const, may start a reading.
    mutable QObject m_readings;
};
