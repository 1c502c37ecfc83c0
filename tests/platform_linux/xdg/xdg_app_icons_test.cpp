#include "temp_support_dir.h"
#include "test_text.h"

#include "platform/linux/xdg/xdg_app_icons.h"

#include <QDir>
#include <QImage>

#include <gtest/gtest.h>

namespace {

using XdgAppIconsTest = TempSupportDir;

TEST_F(XdgAppIconsTest, TheDesktopFileNamesTheIconByPathOrThemeNameAndTheFirstFolderDecides)
{
    const QString home = QDir(root()).filePath(s("home"));
    const QString system = QDir(root()).filePath(s("system"));
    const QString png = QDir(root()).filePath(s("art/mail.png"));
    QDir().mkpath(QDir(root()).filePath(s("art")));
    QImage art(24, 24, QImage::Format_ARGB32);
    art.fill(Qt::red);
    ASSERT_TRUE(art.save(png));
    const auto desktop = [](const QString& icon) -> QByteArray {
        return QByteArray("[Desktop Entry]\nType=Application\nName=App\nIcon=") + icon.toUtf8() + "\n";
    };
    writeAll(home + s("/mail.desktop"), desktop(png));
    writeAll(system + s("/mail.desktop"), desktop(s("no-such-icon-anywhere")));
    writeAll(system + s("/kde/konsole.desktop"), desktop(png));
    writeAll(system + s("/broken.desktop"), desktop(QDir(root()).filePath(s("art/missing.png"))));
    writeAll(system + s("/themed.desktop"), desktop(s("no-such-icon-anywhere")));
    writeAll(system + s("/plain.desktop"), QByteArray("[Desktop Entry]\nType=Application\nName=Plain\n"));

    XdgAppIcons icons({home, system});
    struct Row {
        const char* id;
        bool found;
    };
    // clang-format off
    const Row rows[] = {
        {.id = "mail",        .found = true},  // the user's file, naming a picture, masks the system's
        {.id = "kde-konsole", .found = true},  // an id of a file in a sub-folder
        {.id = "broken",      .found = false}, // the named picture is gone
        {.id = "themed",      .found = false}, // a theme name no theme has
        {.id = "plain",       .found = false}, // no Icon= at all
        {.id = "unknown",     .found = false},
    };
    // clang-format on
    for (const Row& row : rows)
        EXPECT_EQ(!icons.icon(s(row.id)).isNull(), row.found) << row.id;
    EXPECT_EQ(XdgApplications({home, system}).entry(s("mail"))->icon, png);
}

} // namespace
