#include "platform/linux/xdg/desktop_launcher_linux.h"

#include <gtest/gtest.h>

namespace {

using namespace Qt::Literals::StringLiterals;

// The running desktop's settings program first, each anchor in the given order, then the bare
// programs; the first that starts ends the search.
TEST(DesktopLauncherLinux, OpensTheFirstSettingsPageThatStarts)
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
        QStringList attempts; // each as the program followed by its arguments
        const auto start = [&](const QString& program, const QStringList& arguments) {
            attempts.append((QStringList{program} + arguments).join(QLatin1Char(' ')));
            return !c.refused.contains(program);
        };
        DesktopLauncherLinux(QLatin1String(c.desktop), start).openPrivacyPane(c.anchors);
        EXPECT_EQ(attempts, c.attempts);
    }
}

} // namespace
