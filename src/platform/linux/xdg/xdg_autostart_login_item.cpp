#include "platform/linux/xdg/xdg_autostart_login_item.h"

#include "core/base/app_id.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

XdgAutostartLoginItem::XdgAutostartLoginItem(QString program, QString entryPath)
    : m_program(std::move(program))
    , m_entryPath(entryPath.isEmpty() ? standardEntryPath() : std::move(entryPath))
{
}

QString XdgAutostartLoginItem::standardEntryPath()
{
    QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (config.isEmpty() || !QDir::isAbsolutePath(config))
        config = QDir::homePath() + QStringLiteral("/.config");
    return config + QStringLiteral("/autostart/") + appId + QStringLiteral(".desktop");
}

QString XdgAutostartLoginItem::execArgument(const QString& argument)
{
    static const QString reserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    QString quoted;
    bool needsQuotes = false;
    for (const QChar c : argument) {
        if (reserved.contains(c))
            needsQuotes = true;
        if (c == u'"' || c == u'`' || c == u'$' || c == u'\\')
            quoted += u'\\';
        quoted += c;
        // A lone percent sign would start a field code.
        if (c == u'%')
            quoted += u'%';
    }
    if (needsQuotes)
        quoted = u'"' + quoted + u'"';
    // The Exec value is itself a string value, whose own escapes apply on top of the quoting.
    QString value;
    for (const QChar c : quoted) {
        if (c == u'\\')
            value += QStringLiteral("\\\\");
        else if (c == u'\n')
            value += QStringLiteral("\\n");
        else if (c == u'\t')
            value += QStringLiteral("\\t");
        else if (c == u'\r')
            value += QStringLiteral("\\r");
        else
            value += c;
    }
    return value;
}

bool XdgAutostartLoginItem::enabled() const
{
    return QFileInfo::exists(m_entryPath);
}

LoginItem::Outcome XdgAutostartLoginItem::enable()
{
    if (!QDir().mkpath(QFileInfo(m_entryPath).absolutePath()))
        return QStringLiteral("cannot create %1").arg(QFileInfo(m_entryPath).absolutePath());
    const QString entry = QStringLiteral("[Desktop Entry]\nType=Application\nName=Morvane Quenda\nExec=") +
                          execArgument(m_program) +
                          QStringLiteral("\nTerminal=false\nX-GNOME-Autostart-enabled=true\n");
    QSaveFile file(m_entryPath);
    if (!file.open(QIODevice::WriteOnly))
        return file.errorString();
    const QByteArray bytes = entry.toUtf8();
    if (file.write(bytes) != bytes.size())
        return file.errorString();
    if (!file.commit())
        return file.errorString();
    return Changed{};
}

LoginItem::Outcome XdgAutostartLoginItem::disable()
{
    QFile file(m_entryPath);
    if (file.exists() && !file.remove())
        return file.errorString();
    return Changed{};
}
