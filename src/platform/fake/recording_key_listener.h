#pragma once

#include "platform/key_source.h"

#include <QList>

#include <functional>
#include <ostream>

// One report of a key source: the key, and whether it went down or up.
struct KeyReport {
    PhysicalKey key;
    bool down;

    static KeyReport pressed(PhysicalKey key) { return {key, true}; }
    static KeyReport released(PhysicalKey key) { return {key, false}; }
    bool operator==(const KeyReport&) const = default;
    friend void PrintTo(const KeyReport& report, std::ostream* out)
    {
        *out << (report.down ? '+' : '-') << static_cast<int>(report.key);
    }
};

// Records what a key source reports, oldest first; `onReport` runs after each, as a listener that
// stops the source from inside a report would.
class RecordingKeyListener final : public KeySource::Listener {
public:
    void keyPressed(PhysicalKey key) override { record(KeyReport::pressed(key)); }
    void keyReleased(PhysicalKey key) override { record(KeyReport::released(key)); }
    void buttonPressed() override { ++buttons; }

    QList<KeyReport> reports;
    int buttons = 0;
    std::function<void(const KeyReport&)> onReport;

private:
    void record(const KeyReport& report)
    {
        reports.append(report);
        if (onReport)
            onReport(report);
    }
};
