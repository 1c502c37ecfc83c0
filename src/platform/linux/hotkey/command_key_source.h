#pragma once

#include "platform/key_source.h"
#include "platform/linux/hotkey/route_key.h"

#include <QObject>

#include <memory>

class Clock;

// The hotkey as a compositor binding reports it, by running `quenda --hotkey press|release`: the
// running program hears of it over its single-instance channel. A binding's release is lost when
// another key comes between, so holds are bounded. Keys typed into our own windows come from the
// source alongside.
class CommandKeySource final : public QObject, public KeySource {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CommandKeySource)

public:
    CommandKeySource(Clock& clock, std::unique_ptr<KeySource> alongside);
    ~CommandKeySource() override;

    Reach start(Listener& listener) override;
    void stop() override;
    void watch(PhysicalKey key) override;

    // What a binding asked for, sent at sentAtMs on the system's monotonic clock (0: unknown);
    // nothing happens while stopped. A press sent before the last release came late: the key went
    // down and up already, so it is reported as a tap.
    void command(bool pressed, qint64 sentAtMs);

private:
    RouteKey m_key;
    std::unique_ptr<KeySource> m_alongside;
    qint64 m_lastReleaseSentAtMs = 0;
};
