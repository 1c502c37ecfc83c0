#include "core/permissions.h"
#include "fake_desktop_launcher.h"

#include <gtest/gtest.h>

namespace {

struct PaneCase {
    const char* name;
    const char* desktop;
    QStringList anchors;
    QStringList refused;  // programs that fail to start
    QStringList attempts; // in order; the last one is the one that opened, unless all were refused
};

const QString kGnome = QStringLiteral("gnome-control-center");
const QString kKde = QStringLiteral("systemsettings");

QStringList list(std::initializer_list<const char*> items)
{
    QStringList out;
    for (const char* item : items)
        out.append(QLatin1String(item));
    return out;
}

TEST(Permissions, OpensTheFirstSettingsPageThatStarts)
{
    const QStringList mic{QStringLiteral("Privacy_Microphone")};
    const QStringList access{QStringLiteral("Privacy_Accessibility")};
    const PaneCase cases[] = {
        {"microphone on GNOME", "ubuntu:GNOME", mic, {}, list({"gnome-control-center sound"})},
        {"accessibility on GNOME", "GNOME", access, {}, list({"gnome-control-center universal-access"})},
        {"microphone on KDE", "KDE", mic, {}, list({"systemsettings kcm_pulseaudio"})},
        {"accessibility on KDE", "KDE", access, {}, list({"systemsettings kcm_access"})},
        {"unknown desktop tries GNOME first", "", mic, {}, list({"gnome-control-center sound"})},
        {"no GNOME settings",
         "GNOME",
         mic,
         {kGnome},
         list({"gnome-control-center sound", "systemsettings kcm_pulseaudio"})},
        {"no settings program at all",
         "GNOME",
         access,
         {kGnome, kKde},
         list({"gnome-control-center universal-access", "systemsettings kcm_access", "gnome-control-center",
               "systemsettings"})},
        {"no anchor opens the bare program", "KDE", {}, {}, list({"systemsettings"})},
        {"an unknown anchor is skipped",
         "GNOME",
         list({"Privacy_Camera"}),
         {},
         list({"gnome-control-center"})},
        {"anchors in the given order",
         "GNOME",
         list({"Privacy_Camera", "Privacy_Accessibility", "Privacy_Microphone"}),
         {},
         list({"gnome-control-center universal-access"})},
    };
    for (const PaneCase& c : cases) {
        SCOPED_TRACE(c.name);
        FakeDesktopLauncher launcher;
        for (const QString& program : c.refused)
            launcher.refuseProgram(program);
        Permissions(launcher, QLatin1String(c.desktop)).openPrivacyPane(c.anchors);
        EXPECT_EQ(launcher.attempts(), c.attempts);
        const bool allRefused = c.refused.size() == 2;
        EXPECT_EQ(launcher.opened().size(), allRefused ? 0 : 1);
    }
}

} // namespace
