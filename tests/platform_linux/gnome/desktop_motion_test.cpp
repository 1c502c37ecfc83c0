#include "platform/linux/gnome/desktop_motion.h"

// GLib names a struct member "signals", which Qt defines as a macro.
#pragma push_macro("signals")
#undef signals
#include <gio/gio.h>
#pragma pop_macro("signals")

#include <gtest/gtest.h>

namespace {

// The suite runs on the in-memory settings store, so the user's own is never touched.
TEST(DesktopMotion, FollowsTheDesktopsAnimationSwitch)
{
    ASSERT_STREQ(g_getenv("GSETTINGS_BACKEND"), "memory");
    struct Case {
        bool animations;
        bool reduced;
    };
    // clang-format off
    const Case cases[] = {
        {.animations = false, .reduced = true},
        {.animations = true,  .reduced = false},
    };
    // clang-format on
    GSettings* settings = g_settings_new("org.gnome.desktop.interface");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.animations);
        g_settings_set_boolean(settings, "enable-animations", c.animations);
        EXPECT_EQ(DesktopMotion::reduced(), c.reduced);
    }
    g_object_unref(settings);
}

} // namespace
