#pragma once

#include <QByteArray>

#include <memory>

// Counts the PulseAudio sources that can record a microphone, on PulseAudio's own thread: it
// subscribes to source changes, so reading the count never waits. A lost server is asked again
// every few seconds.
class PulseSourceWatch final {
public:
    // An empty server means the default one; a lost or absent one is tried again every `retryMs`.
    explicit PulseSourceWatch(const QByteArray& server = {}, int retryMs = 3000);
    ~PulseSourceWatch();
    PulseSourceWatch(const PulseSourceWatch&) = delete;
    PulseSourceWatch& operator=(const PulseSourceWatch&) = delete;

    // Capture sources, monitors of outputs left out; -1 until the server has answered and while
    // it cannot be reached. Any thread.
    int microphones() const;
    // Connections tried so far, the first included. Any thread.
    int connectionAttempts() const;

private:
    struct Private;
    std::unique_ptr<Private> d;
};
