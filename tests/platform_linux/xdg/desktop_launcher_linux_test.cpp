#include "platform/linux/xdg/desktop_launcher_linux.h"
#include "speech/qstring_printer.h"

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
        QStringList refused;         // programs that fail to start
        QList<QStringList> attempts; // each the program followed by its arguments
    };
    const QStringList mic{u"Privacy_Microphone"_s};
    const QString gnome = u"gnome-control-center"_s;
    const QString kde = u"systemsettings"_s;
    const QStringList bothRefused{gnome, kde};
    // clang-format off
    const Case cases[] = {
        {"ubuntu:GNOME", mic, {}, {{gnome, u"sound"_s}}},
        {"", mic, {}, {{gnome, u"sound"_s}}},
        {"GNOME", mic, {gnome}, {{gnome, u"sound"_s}, {kde, u"kcm_pulseaudio"_s}}},
        {"KDE", {u"Privacy_Accessibility"_s}, bothRefused, {{kde, u"kcm_access"_s}, {gnome, u"universal-access"_s}, {kde}, {gnome}}},
        {"KDE", {}, {}, {{kde}}}, // no anchor: the bare program
        {"GNOME", {u"Privacy_Camera"_s, u"Privacy_Accessibility"_s, u"Privacy_Microphone"_s}, {}, {{gnome, u"universal-access"_s}}},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.desktop);
        QList<QStringList> attempts;
        const auto start = [&](const QString& program, const QStringList& arguments) {
            attempts.append(QStringList{program} + arguments);
            return !c.refused.contains(program);
        };
        const bool opened = DesktopLauncherLinux(QLatin1String(c.desktop), start).openSettings(c.anchors);
        EXPECT_EQ(attempts, c.attempts);
        EXPECT_EQ(opened, c.refused != bothRefused); // none started: the caller says what to do instead
    }
}

} // namespace
