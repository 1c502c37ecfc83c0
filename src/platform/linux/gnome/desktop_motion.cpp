#include "platform/linux/gnome/desktop_motion.h"

// GLib names a struct member "signals", which Qt defines as a macro.
#pragma push_macro("signals")
#undef signals
#include <gio/gio.h>
#pragma pop_macro("signals")

bool DesktopMotion::reduced()
{
    // Opening settings whose schema is not installed aborts the program, so look first.
    GSettingsSchemaSource* source = g_settings_schema_source_get_default();
    if (!source)
        return false;
    GSettingsSchema* schema = g_settings_schema_source_lookup(source, "org.gnome.desktop.interface", TRUE);
    if (!schema)
        return false;
    const bool known = g_settings_schema_has_key(schema, "enable-animations");
    g_settings_schema_unref(schema);
    if (!known)
        return false;
    GSettings* settings = g_settings_new("org.gnome.desktop.interface");
    const bool animations = g_settings_get_boolean(settings, "enable-animations");
    g_object_unref(settings);
    return !animations;
}
