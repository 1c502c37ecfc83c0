#include "platform/linux/atspi/accessibility_bus.h"

#include "platform/accessibility.h"

#pragma push_macro("signals")
#undef signals
#include <gio/gio.h>
#pragma pop_macro("signals")

#include <memory>

namespace {

constexpr const char* busName = "org.a11y.Bus";
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

std::unique_ptr<GVariant, Unref> callProperties(const char* method, GVariant* arguments, int timeoutMs)
{
    GError* raw = nullptr;
    const std::unique_ptr<GDBusConnection, Unref> session(g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, &raw));
    std::unique_ptr<GError, Unref> error(raw);
    if (!session) {
        g_variant_unref(g_variant_ref_sink(arguments));
        return nullptr;
    }
    raw = nullptr;
    std::unique_ptr<GVariant, Unref> reply(
        g_dbus_connection_call_sync(session.get(), busName, busPath, propertiesInterface, method, arguments,
                                    nullptr, G_DBUS_CALL_FLAGS_NONE, timeoutMs, nullptr, &raw));
    error.reset(raw);
    return reply;
}

} // namespace

namespace AccessibilityBus {

bool enable()
{
    return callProperties("Set",
                          g_variant_new("(ssv)", "org.a11y.Status", "IsEnabled", g_variant_new_boolean(TRUE)),
                          activationTimeoutMs) != nullptr;
}

std::optional<bool> isEnabled()
{
    const auto reply = callProperties("Get", g_variant_new("(ss)", "org.a11y.Status", "IsEnabled"),
                                      Accessibility::timeoutMs);
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
