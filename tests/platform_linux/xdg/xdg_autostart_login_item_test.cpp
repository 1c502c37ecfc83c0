#include "platform/linux/xdg/xdg_autostart_login_item.h"

#include <QFile>
#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// An Exec value read back as the Desktop Entry rules say: string escapes first, then the quoting, where
// a bare "$" or "`" would reach a shell.
QString readExecArgument(const QString& value)
{
    QString unescaped;
    for (qsizetype i = 0; i < value.size(); ++i) {
        if (value[i] == u'\\' && i + 1 < value.size()) {
            const QChar next = value[++i];
            unescaped += next == u'n'   ? QChar(u'\n')
                         : next == u't' ? QChar(u'\t')
                         : next == u's' ? QChar(u' ')
                                        : next;
        } else {
            unescaped += value[i];
        }
    }
    QString argument;
    bool quoted = false;
    for (qsizetype i = 0; i < unescaped.size(); ++i) {
        const QChar c = unescaped[i];
        if (c == u'"') {
            quoted = !quoted;
        } else if (quoted && c == u'\\' && i + 1 < unescaped.size()) {
            argument += unescaped[++i];
        } else if (quoted && (c == u'$' || c == u'`')) {
            return QStringLiteral("<expanded by the shell>");
        } else if (!quoted && c == u' ') {
            return QStringLiteral("<split>");
        } else if (c == u'%') {
            if (i + 1 >= unescaped.size() || unescaped[i + 1] != u'%')
                return QStringLiteral("<field code>");
            argument += c;
            ++i;
        } else {
            argument += c;
        }
    }
    return quoted ? QStringLiteral("<open quote>") : argument;
}

QString execLine(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    for (const QByteArray& line : file.readAll().split('\n'))
        if (line.startsWith("Exec="))
            return QString::fromUtf8(line.mid(5));
    return {};
}

} // namespace

TEST(XdgAutostartLoginItem, AnyProgramPathSurvivesTheDesktopEntryParser)
{
    struct Row {
        QString program;
    };
    const Row rows[] = {
        {.program = QStringLiteral("/usr/bin/quenda")},
        {.program = QStringLiteral("/opt/my apps/quenda")},
        {.program = QStringLiteral("/home/a\"b/quenda")},
        {.program = QStringLiteral("/home/it's/quenda")},
        {.program = QStringLiteral("/tmp/back\\slash/quenda")},
        {.program = QStringLiteral("/tmp/100%/quenda")},
        {.program = QStringLiteral("/tmp/$HOME/`x`/quenda")},
        {.program = QStringLiteral("/tmp/tab\there/quenda")},
        {.program = QStringLiteral("/home/me/my $HOME apps/bin/quenda")},
    };
    QTemporaryDir dir;
    for (const Row& row : rows) {
        const QString entry = dir.filePath(QStringLiteral("autostart/de.morvane.quenda.desktop"));
        XdgAutostartLoginItem item(row.program, entry);
        ASSERT_TRUE(item.enable().ok()) << row.program.toStdString();
        EXPECT_EQ(readExecArgument(execLine(entry)), row.program) << row.program.toStdString();
        EXPECT_TRUE(item.enabled());
        QSettings parsed(entry, QSettings::IniFormat);
        EXPECT_EQ(parsed.value(QStringLiteral("Desktop Entry/Type")).toString(),
                  QStringLiteral("Application"));
    }
}

TEST(XdgAutostartLoginItem, DisablingRemovesTheEntryAndAnUnwritableFolderIsAFailure)
{
    QTemporaryDir dir;
    const QString entry = dir.filePath(QStringLiteral("autostart/de.morvane.quenda.desktop"));
    XdgAutostartLoginItem item(QStringLiteral("/usr/bin/quenda"), entry);
    ASSERT_TRUE(item.enable().ok());
    ASSERT_TRUE(item.disable().ok());
    EXPECT_FALSE(item.enabled());
    EXPECT_TRUE(item.disable().ok()) << "nothing to remove is no failure";

    QFile blocker(dir.filePath(QStringLiteral("blocked")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    XdgAutostartLoginItem blocked(QStringLiteral("/usr/bin/quenda"),
                                  dir.filePath(QStringLiteral("blocked/autostart/q.desktop")));
    const LoginItem::Outcome outcome = blocked.enable();
    EXPECT_FALSE(outcome.ok());
    EXPECT_FALSE(blocked.enabled());
}

TEST(XdgAutostartLoginItem, TheStandardEntryLivesInTheConfigHomesAutostartFolder)
{
    qputenv("XDG_CONFIG_HOME", "/tmp/cfg-home");
    EXPECT_EQ(XdgAutostartLoginItem::standardEntryPath(),
              QStringLiteral("/tmp/cfg-home/autostart/de.morvane.quenda.desktop"));
    qputenv("XDG_CONFIG_HOME", "relative");
    EXPECT_TRUE(XdgAutostartLoginItem::standardEntryPath().endsWith(
        QStringLiteral("/.config/autostart/de.morvane.quenda.desktop")));
    qunsetenv("XDG_CONFIG_HOME");
}
