#pragma once

#include <QObject>

class HotkeyMonitor;

// The hotkey's gestures as the dictation reacts to them; tests emit them directly.
class HotkeyEvents final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(HotkeyEvents)

public:
    using QObject::QObject;

    // Passes on every gesture of the monitor for as long as both live.
    void follow(HotkeyMonitor& monitor);

signals:
    void pressed();
    void holdStarted();
    void holdEnded();
    void toggled();
    void escapePressed();
    void shortcutTyped();
};
