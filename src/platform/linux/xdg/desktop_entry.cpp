#include "platform/linux/xdg/desktop_entry.h"

#include <QFile>
#include <QHash>

namespace {

QString unescape(const QString& value)
{
    QString out;
    out.reserve(value.size());
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value.at(i);
        if (c != QLatin1Char('\\') || i + 1 == value.size()) {
            out += c;
            continue;
        }
        const QChar next = value.at(++i);
        switch (next.unicode()) {
        case 's':
            out += QLatin1Char(' ');
            break;
        case 'n':
            out += QLatin1Char('\n');
            break;
        case 't':
            out += QLatin1Char('\t');
            break;
        case 'r':
            out += QLatin1Char('\r');
            break;
        default:
            out += next;
            break;
        }
    }
    return out;
}

bool isTrue(const QString& value)
{
    return value == QLatin1String("true");
}

// Desktop files pick translations as lang_COUNTRY, then lang, then the untranslated key.
QStringList localeSuffixes(const QLocale& locale)
{
    const QString full = locale.name();
    QStringList suffixes{full};
    const qsizetype underscore = full.indexOf(QLatin1Char('_'));
    if (underscore > 0)
        suffixes << full.left(underscore);
    return suffixes;
}

} // namespace

std::optional<DesktopEntry> DesktopEntry::parse(const QByteArray& bytes, const QLocale& locale)
{
    QHash<QString, QString> keys;
    bool inGroup = false;
    bool found = false;
    for (const QByteArray& rawLine : bytes.split('\n')) {
        const QString line = QString::fromUtf8(rawLine).trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        if (line.startsWith(QLatin1Char('['))) {
            inGroup = line == QLatin1String("[Desktop Entry]");
            found = found || inGroup;
            continue;
        }
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (!inGroup || eq <= 0)
            continue;
        const QString key = line.left(eq).trimmed();
        // A key given twice keeps its first value, as desktop-file readers do.
        if (!keys.contains(key))
            keys.insert(key, unescape(line.mid(eq + 1).trimmed()));
    }
    if (!found)
        return std::nullopt;

    DesktopEntry entry;
    entry.type = keys.value(QStringLiteral("Type"));
    entry.noDisplay = isTrue(keys.value(QStringLiteral("NoDisplay")));
    entry.hidden = isTrue(keys.value(QStringLiteral("Hidden")));
    entry.name = keys.value(QStringLiteral("Name"));
    entry.startupWMClass = keys.value(QStringLiteral("StartupWMClass"));
    entry.categories = keys.value(QStringLiteral("Categories")).split(QLatin1Char(';'), Qt::SkipEmptyParts);
    entry.icon = keys.value(QStringLiteral("Icon")).trimmed();
    for (const QString& suffix : localeSuffixes(locale)) {
        const QString localised = keys.value(QStringLiteral("Name[") + suffix + QLatin1Char(']'));
        if (!localised.isEmpty()) {
            entry.name = localised;
            break;
        }
    }
    return entry;
}

std::optional<DesktopEntry> DesktopEntry::read(const QString& path, const QLocale& locale)
{
    // Real desktop files are a few KiB; a huge one is not worth reading whole.
    constexpr qint64 maxBytes = 1 << 20;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > maxBytes)
        return std::nullopt;
    return parse(file.read(maxBytes), locale);
}
