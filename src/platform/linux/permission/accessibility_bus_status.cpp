#include "platform/linux/permission/accessibility_bus_status.h"

// GLib names a struct member "signals", which Qt defines as a macro.
#pragma push_macro("signals")
#undef signals
#include <gio/gio.h>
#pragma pop_macro("signals")

#include <memory>

namespace {

struct Unref {
    void operator()(GDBusConnection* connection) const { g_object_unref(connection); }
    void operator()(GVariant* variant) const { g_variant_unref(variant); }
    void operator()(GError* error) const { g_error_free(error); }
};

constexpr int timeoutMs = 1000;

} // namespace

std::optional<bool> AccessibilityBusStatus::isEnabled(const QString& service)
{
    GError* rawError = nullptr;
    const std::unique_ptr<GDBusConnection, Unref> bus(g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, &rawError));
    std::unique_ptr<GError, Unref> error(rawError);
    if (!bus)
        return std::nullopt;

    const QByteArray name = service.toUtf8();
    rawError = nullptr;
    const std::unique_ptr<GVariant, Unref> reply(g_dbus_connection_call_sync(
        bus.get(), name.constData(), "/org/a11y/bus", "org.freedesktop.DBus.Properties", "Get",
        g_variant_new("(ss)", "org.a11y.Status", "IsEnabled"), G_VARIANT_TYPE("(v)"), G_DBUS_CALL_FLAGS_NONE,
        timeoutMs, nullptr, &rawError));
    error.reset(rawError);
    if (!reply)
        return std::nullopt;

    GVariant* boxed = nullptr;
    g_variant_get(reply.get(), "(v)", &boxed);
    const std::unique_ptr<GVariant, Unref> value(boxed);
    if (!value || !g_variant_is_of_type(value.get(), G_VARIANT_TYPE_BOOLEAN))
        return std::nullopt;
    return g_variant_get_boolean(value.get()) != FALSE;
}
