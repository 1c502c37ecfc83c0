#pragma once

#include <QObject>

#include <functional>

// Whether the microphone may be recorded from, and asking for it.
class MicrophoneAccess {
public:
    enum class Status { Granted, Denied, Undetermined };

    virtual ~MicrophoneAccess() = default;

    virtual Status status() const = 0;
    // `done` runs on the main thread, never once context is destroyed.
    virtual void request(QObject* context, std::function<void(bool granted)> done) = 0;
};
