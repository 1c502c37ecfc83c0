#include "test_text.h"

#include "platform/linux/xdg/window_app_matcher.h"

#include <gtest/gtest.h>

namespace {

InstalledApp app(const char* id, const char* startupWMClass = "")
{
    return {{s(id), s(id)}, s(startupWMClass), false, {}};
}

TEST(WindowAppMatcher, TiesAWindowToItsDesktopFileByWmClass)
{
    const WindowAppMatcher matcher({
        app("org.gnome.gedit"),
        app("gedit-launcher", "Gedit"),
        app("org.example.Editor", "ExampleEdit"),
        app("mail"),
        app("org.kde.konsole"),
        app("firefox-esr", "firefox-esr"),
    });
    struct Case {
        const char* instance;
        const char* className;
        const char* id; // "" when nothing matches
    };
    const Case cases[] = {
        {.instance = "exampleedit", .className = "ExampleEdit", .id = "org.example.Editor"},
        // A desktop file that names the class wins over an id that only looks alike.
        {.instance = "gedit", .className = "Gedit", .id = "gedit-launcher"},
        {.instance = "mail", .className = "Thunder", .id = "mail"},
        {.instance = "konsole", .className = "konsole", .id = "org.kde.konsole"},
        {.instance = "Navigator", .className = "firefox-esr", .id = "firefox-esr"},
        {.instance = "thing", .className = "Thing", .id = ""},
        {.instance = "", .className = "", .id = ""},
    };
    for (const Case& c : cases) {
        const auto found = matcher.match(s(c.instance), s(c.className));
        EXPECT_EQ(found ? found->app.bundleID : QString(), s(c.id)) << c.instance << " " << c.className;
    }
}

} // namespace
