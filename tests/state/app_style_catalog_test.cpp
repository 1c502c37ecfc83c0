#include "temp_support_dir.h"

#include "core/app_style_catalog.h"
#include "core/desktop_entry.h"

#include <QDir>

namespace {

QString u(const char* utf8) {
    return QString::fromUtf8(utf8);
}

} // namespace

TEST(AppStyleCatalog, SuggestsByBundleAndName) {
    struct Case {
        const char* id;
        const char* name;
        const char* style;
    };
    const Case cases[] = {
        {"com.todesktop.230313mzl4w4u92", "Whatever", "auto"},
        {"com.todesktop.other", "Whatever", "code"},
        {"com.cursor.beta", "Editor", "auto"},
        {"x.unlisted", "Cursor", "auto"},
        {"x.unlisted", "CÚRSOR", "auto"},
        {"x.unlisted", "Cursor Beta", "code"},
        {"com.microsoft.Word", "", "notes"},
        {"x.unlisted", "Notion Mail", "email"},
        {"x.unlisted", "Microsoft Outlook", "email"},
        {"x.unlisted", "Visual Studio Code", "code"},
        {"x.unlisted", "Notes Pro", "notes"},
        {"x.unlisted", "Postmaster", "auto"},
        {"x.unlisted", "Mailbox", "auto"},
        {"x.unlisted", "!!! ???", "auto"},
        {"org.telegram.desktop", "!!!", "chat"},
        {"x.unlisted", "GNOME Terminal", "code"},
        {"x.unlisted", "Signal-Desktop", "chat"},
        {"", "", "auto"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(AppStyleCatalog::suggest(u(c.id), u(c.name)), u(c.style)) << c.id << " / " << c.name;
}

TEST(AppStyleCatalog, UnifyKeepsTheFirstOfEachId) {
    const QList<FrontApp> apps{{u("a"), u("A1")}, {u("b"), u("B")}, {u("a"), u("A2")}};
    EXPECT_EQ(AppStyleCatalog::unify(apps), (QList<FrontApp>{{u("a"), u("A1")}, {u("b"), u("B")}}));
}

TEST(DesktopEntry, ReadsTheLocalisedNameAndFlagsOfTheEntryGroupOnly) {
    const QByteArray text = "# comment\n"
                            "[Desktop Entry]\n"
                            "Type = Application\n"
                            "Name=Text\\sEditor\n"
                            "Name[de]=Texteditor\n"
                            "Name[de_AT]=Texteditor AT\n"
                            "NoDisplay=true\n"
                            "[Desktop Action new]\n"
                            "Name=New Window\n"
                            "Hidden=true\n";
    const auto plain = DesktopEntry::parse(text, QLocale(u("en_US")));
    ASSERT_TRUE(plain);
    EXPECT_EQ(plain->type, u("Application"));
    EXPECT_EQ(plain->name, u("Text Editor"));
    EXPECT_TRUE(plain->noDisplay);
    EXPECT_FALSE(plain->hidden);
    EXPECT_EQ(DesktopEntry::parse(text, QLocale(u("de_DE")))->name, u("Texteditor"));
    EXPECT_EQ(DesktopEntry::parse(text, QLocale(u("de_AT")))->name, u("Texteditor AT"));
    EXPECT_FALSE(DesktopEntry::parse("Name=Orphan\n", QLocale::c()));
}

class InstalledApps : public TempSupportDir {
protected:
    QString folder(const char* name) const { return QDir(root()).filePath(u(name)); }
    void desktopFile(const char* folderName, const char* relative, const QByteArray& body) {
        writeAll(QDir(folder(folderName)).filePath(u(relative)), "[Desktop Entry]\n" + body);
    }
};

TEST_F(InstalledApps, ListsVisibleApplicationsOnceWithTheFirstFolderWinning) {
    desktopFile("home", "org.gnome.gedit.desktop", "Type=Application\nName=Text Editor (mine)\n");
    desktopFile("home", "masked.desktop", "Type=Application\nName=Masked\nHidden=true\n");
    desktopFile("home", "kde/konsole.desktop", "Type=Application\nName=Konsole\n");
    desktopFile("home", ".hidden.desktop", "Type=Application\nName=Dot\n");
    desktopFile("system", "org.gnome.gedit.desktop", "Type=Application\nName=Text Editor\n");
    desktopFile("system", "masked.desktop", "Type=Application\nName=Masked\n");
    desktopFile("system", "nodisplay.desktop", "Type=Application\nName=Invisible\nNoDisplay=true\n");
    desktopFile("system", "link.desktop", "Type=Link\nName=Web\n");
    desktopFile("system", "de.morvane.quenda.desktop", "Type=Application\nName=Quenda\n");
    desktopFile("system", "org.Example.SetupHelper.desktop", "Type=Application\nName=Setup\n");
    desktopFile("system", "noname.desktop", "Type=Application\n");
    writeAll(QDir(folder("system")).filePath(u("broken.desktop")), "no group here");

    const QList<FrontApp> apps =
        AppStyleCatalog::installedApps({folder("home"), folder("missing"), folder("system")});
    const QList<FrontApp> expected{{u("kde-konsole"), u("Konsole")},
                                   {u("org.gnome.gedit"), u("Text Editor (mine)")},
                                   {u("noname"), u("noname")}};
    EXPECT_EQ(apps, expected);
}

TEST_F(InstalledApps, FoldersComeFromTheXdgDataFolders) {
    qputenv("XDG_DATA_HOME", folder("home").toUtf8());
    qputenv("XDG_DATA_DIRS", (folder("one") + u(":") + folder("two")).toUtf8());
    const QStringList folders = AppStyleCatalog::applicationFolders();
    qunsetenv("XDG_DATA_HOME");
    qunsetenv("XDG_DATA_DIRS");
    EXPECT_EQ(folders, (QStringList{QDir(folder("home")).filePath(u("applications")),
                                    QDir(folder("one")).filePath(u("applications")),
                                    QDir(folder("two")).filePath(u("applications"))}));
}
