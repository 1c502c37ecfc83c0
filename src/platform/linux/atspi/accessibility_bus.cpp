#include "platform/linux/atspi/accessibility_bus.h"

// GLib names a struct member "signals", which Qt defines as a macro.
#pragma push_macro("signals")
#undef signals
#include <gio/gio.h>
#pragma pop_macro("signals")

#include <memory>

namespace {

constexpr const char* busPath = "/org/a11y/bus";
constexpr const char* propertiesInterface = "org.freedesktop.DBus.Properties";
// The first call may start the bus launcher through D-Bus activation, which takes longer than
// an answer from a running application.
constexpr int activationTimeoutMs = 5000;

struct Unref {
    void operator()(GDBusConnection* connection) const { g_object_unref(connection); }
    void operator()(GVariant* variant) const { g_variant_unref(variant); }
    void operator()(GError* error) const { g_error_free(error); }
};

std::unique_ptr<GVariant, Unref> callProperties(const QString& service, const char* method,
                                                GVariant* arguments, const GVariantType* replyType,
                                                int timeoutMs)
{
    GError* raw = nullptr;
    const std::unique_ptr<GDBusConnection, Unref> session(g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, &raw));
    std::unique_ptr<GError, Unref> error(raw);
    if (!session) {
        g_variant_unref(g_variant_ref_sink(arguments));
        return nullptr;
    }
    const QByteArray name = service.toUtf8();
    raw = nullptr;
    std::unique_ptr<GVariant, Unref> reply(
        g_dbus_connection_call_sync(session.get(), name.constData(), busPath, propertiesInterface, method,
                                    arguments, replyType, G_DBUS_CALL_FLAGS_NONE, timeoutMs, nullptr, &raw));
    error.reset(raw);
    return reply;
}

} // namespace

namespace AccessibilityBus {

bool enable()
{
    return callProperties(busName, "Set",
                          g_variant_new("(ssv)", "org.a11y.Status", "IsEnabled", g_variant_new_boolean(TRUE)),
                          nullptr, activationTimeoutMs) != nullptr;
}

std::optional<bool> isEnabled(int timeoutMs, const QString& service)
{
    const auto reply = callProperties(service, "Get", g_variant_new("(ss)", "org.a11y.Status", "IsEnabled"),
                                      G_VARIANT_TYPE("(v)"), timeoutMs);
    if (!reply)
        return std::nullopt;
    GVariant* boxed = nullptr;
    g_variant_get(reply.get(), "(v)", &boxed);
    const std::unique_ptr<GVariant, Unref> value(boxed);
    if (!value || g_variant_classify(value.get()) != G_VARIANT_CLASS_BOOLEAN)
        return std::nullopt;
    return g_variant_get_boolean(value.get()) != FALSE;
}

} // namespace AccessibilityBus
