#include "temp_support_dir.h"
#include "test_text.h"

#include "platform/linux/xdg/linux_window_system.h"
#include "platform/linux/xdg/xdg_applications.h"

#include <QDir>

namespace {

using XdgApplicationsTest = TempSupportDir;

TEST_F(XdgApplicationsTest, InstalledAppsFollowTheDesktopFileRules)
{
    struct Case {
        const char* file; // below root()
        const char* body;
        const char* listedAs; // "id=name", or nullptr when left out
    };
    // clang-format off
    const Case cases[] = {
        {"home/org.gnome.gedit.desktop", "Type=Application\nName=Mine\n", "org.gnome.gedit=Mine"},
        {"system/org.gnome.gedit.desktop", "Type=Application\nName=Editor\n", nullptr}, // first id wins
        {"home/masked.desktop", "Type=Application\nName=Masked\nHidden=true\n", nullptr},
        {"system/masked.desktop", "Type=Application\nName=Masked\n", nullptr}, // masked by the hidden copy
        {"system/invisible.desktop", "Type=Application\nName=Invisible\nNoDisplay=true\n", nullptr},
        {"system/link.desktop", "Type=Link\nName=Web\n", nullptr},
        {"system/de.morvane.quenda.desktop", "Type=Application\nName=Quenda\n", nullptr},
        {"home/kde/konsole.desktop", "Type = Application\nName=Konsole\n", "kde-konsole=Konsole"},
        {"system/files.desktop", "Type=Application\nName=Files\nName[de]=Dateien\nName[de_AT]=Dateien AT\n", "files=Dateien AT"},
        {"system/calc.desktop", "Type=Application\nName=Calculator\nName[de]=Rechner\n", "calc=Rechner"},
        {"system/action.desktop", "Type=Application\nName=Main\n[Desktop Action new]\nName=New\nHidden=true\n", "action=Main"},
    };
    // clang-format on
    QList<FrontApp> expected;
    for (const Case& c : cases) {
        writeAll(QDir(root()).filePath(s(c.file)), QByteArray("[Desktop Entry]\n") + c.body);
        if (c.listedAs)
            expected.append({s(c.listedAs).section(u'=', 0, 0), s(c.listedAs).section(u'=', 1)});
    }
    const QLocale previous;
    QLocale::setDefault(QLocale(s("de_AT")));
    QList<FrontApp> apps =
        XdgApplications({QDir(root()).filePath(s("home")), QDir(root()).filePath(s("missing")),
                         QDir(root()).filePath(s("system"))})
            .scan();
    QLocale::setDefault(previous);
    const auto byId = [](const FrontApp& a, const FrontApp& b) { return a.bundleID < b.bundleID; };
    std::sort(apps.begin(), apps.end(), byId);
    std::sort(expected.begin(), expected.end(), byId);
    EXPECT_EQ(apps, expected);
}

// The user's own desktop files (XDG_DATA_HOME) must mask the system's, so a user who hid or
// renamed an application sees it that way here too.
TEST_F(XdgApplicationsTest, TheWindowSystemReadsTheUsersFolderBeforeTheSystemFolders)
{
    const QString home = QDir(root()).filePath(s("home"));
    const QString system = QDir(root()).filePath(s("system"));
    writeAll(home + s("/applications/mail.desktop"), "[Desktop Entry]\nType=Application\nName=My Mail\n");
    writeAll(home + s("/applications/games.desktop"), "[Desktop Entry]\nType=Application\nHidden=true\n");
    writeAll(system + s("/applications/mail.desktop"), "[Desktop Entry]\nType=Application\nName=Mail\n");
    writeAll(system + s("/applications/games.desktop"), "[Desktop Entry]\nType=Application\nName=Games\n");
    qputenv("XDG_DATA_HOME", home.toUtf8());
    qputenv("XDG_DATA_DIRS", system.toUtf8());
    const QList<FrontApp> apps = LinuxWindowSystem().installedApps();
    qunsetenv("XDG_DATA_HOME");
    qunsetenv("XDG_DATA_DIRS");
    EXPECT_EQ(apps, (QList<FrontApp>{{s("mail"), s("My Mail")}}));
}

} // namespace
