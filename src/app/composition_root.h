#pragma once

#include <QtGlobal>

#include <memory>

class RunMode;
class ShellController;
class ShellWindowHost;

// The one place that picks the Linux backends and wires them into the program, with the parts the
// run mode gives (it outlives the root). Members are built in dependency order and torn down in
// reverse.
class CompositionRoot final {
public:
    explicit CompositionRoot(RunMode& mode);
    ~CompositionRoot();
    CompositionRoot(const CompositionRoot&) = delete;
    CompositionRoot& operator=(const CompositionRoot&) = delete;

    // Switches the session's accessibility on, before the application object exists: Qt reads the
    // switch once, when its bridge starts, and would leave every window of this program unseen by
    // assistive tools when it was still off then. Waits for the session bus.
    static void switchOnAccessibility();
    // Has Qt draw through XWayland in a Wayland session, where it runs, before the application object
    // exists, unless the user chose a platform.
    static void preferX11();

    ShellController& shell();
    // A compositor binding saw the hotkey go down (true) or up at sentAtMs on the monotonic clock.
    void hotkeyCommand(bool pressed, qint64 sentAtMs);
    ShellWindowHost& windows();

private:
    struct Parts;
    std::unique_ptr<Parts> m_parts;
};
