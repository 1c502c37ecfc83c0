// Starts Qt on the test X server with the session's accessibility switched off, then switched on
// the way the program does it: with "--before-toolkit" before the application object exists, else
// after a window is shown. Exits 0 once Qt's bridge to the accessibility bus is up, 1 when it is
// not within five seconds. Qt reads the switch once, when its bridge starts: a program that turns
// it on later stays unseen by assistive tools.
#include "platform/linux/atspi/accessibility_bus.h"

// GLib names a struct member "signals", which Qt defines as a macro.
#pragma push_macro("signals")
#undef signals
#include <gio/gio.h>
#pragma pop_macro("signals")

#include <QAccessible>
#include <QApplication>
#include <QPushButton>
#include <QTest>

#include <cstdio>
#include <cstring>

namespace {

bool switchOff()
{
    GDBusConnection* session = g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, nullptr);
    if (!session)
        return false;
    GVariant* reply = g_dbus_connection_call_sync(
        session, "org.a11y.Bus", "/org/a11y/bus", "org.freedesktop.DBus.Properties", "Set",
        g_variant_new("(ssv)", "org.a11y.Status", "IsEnabled", g_variant_new_boolean(FALSE)), nullptr,
        G_DBUS_CALL_FLAGS_NONE, 5000, nullptr, nullptr);
    g_object_unref(session);
    if (!reply)
        return false;
    g_variant_unref(reply);
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    const bool beforeToolkit = argc > 1 && std::strcmp(argv[1], "--before-toolkit") == 0;
    if (!switchOff()) {
        std::puts("skipped: needs the accessibility bus of scripts/with-services");
        return 77;
    }
    if (beforeToolkit)
        AccessibilityBus::enable();
    qunsetenv("NO_AT_BRIDGE");
    QApplication app(argc, argv);
    QPushButton reload(QStringLiteral("Reload"));
    reload.show();
    if (!beforeToolkit)
        AccessibilityBus::enable();
    const bool up = QTest::qWaitFor([] { return QAccessible::isActive(); }, 5000);
    // The suites after this one expect the switch on.
    AccessibilityBus::enable();
    std::puts(up ? "bridge up" : "bridge never came up");
    return up ? 0 : 1;
}
