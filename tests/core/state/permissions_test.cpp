#include "core/state/permissions.h"
#include "platform/fake/fake_desktop_launcher.h"

#include <gtest/gtest.h>

namespace {

using namespace Qt::Literals::StringLiterals;

// The running desktop's settings program first, each anchor in the given order, then the bare
// programs; the first that starts ends the search.
TEST(Permissions, OpensTheFirstSettingsPageThatStarts)
{
    struct Case {
        const char* desktop;
        QStringList anchors;
        QStringList refused; // programs that fail to start
        QStringList attempts;
    };
    const QStringList mic{u"Privacy_Microphone"_s};
    const QStringList bothRefused{u"gnome-control-center"_s, u"systemsettings"_s};
    // clang-format off
    const Case cases[] = {
        {"ubuntu:GNOME", mic, {}, {u"gnome-control-center sound"_s}},
        {"", mic, {}, {u"gnome-control-center sound"_s}},
        {"GNOME", mic, {u"gnome-control-center"_s},
         {u"gnome-control-center sound"_s, u"systemsettings kcm_pulseaudio"_s}},
        {"KDE", {u"Privacy_Accessibility"_s}, bothRefused,
         {u"systemsettings kcm_access"_s, u"gnome-control-center universal-access"_s, u"systemsettings"_s,
          u"gnome-control-center"_s}},
        {"KDE", {}, {}, {u"systemsettings"_s}}, // no anchor: the bare program
        {"GNOME", {u"Privacy_Camera"_s, u"Privacy_Accessibility"_s, u"Privacy_Microphone"_s}, {},
         {u"gnome-control-center universal-access"_s}},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.desktop);
        FakeDesktopLauncher launcher;
        for (const QString& program : c.refused)
            launcher.refuseProgram(program);
        Permissions(launcher, QLatin1String(c.desktop)).openPrivacyPane(c.anchors);
        EXPECT_EQ(launcher.attempts(), c.attempts);
    }
}

} // namespace
