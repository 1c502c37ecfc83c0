#include "core/notes/apple_notes_scripts.h"

#include "core/base/plain_text.h"

#include <QCollator>
#include <QLocale>
#include <QSet>
#include <QStringList>

#include <algorithm>

namespace {

// The scripts are written one line per entry; four spaces per level, no final line break.
QString lines(std::initializer_list<QString> list)
{
    return QStringList(list).join(QLatin1Char('\n'));
}

const QSet<QString>& hiddenFolders()
{
    static const QSet<QString> names{QStringLiteral("recently deleted"), QStringLiteral("zuletzt geloscht")};
    return names;
}

QCollator folderCollator()
{
    QLocale locale;
    // The C locale collates by code point and ignores numeric mode; folders still sort by value.
    if (locale.language() == QLocale::C)
        locale = QLocale(QLocale::English, QLocale::UnitedStates);
    QCollator collator(locale);
    collator.setNumericMode(true);
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    return collator;
}

} // namespace

QString AppleNotesScripts::quoted(const QString& text)
{
    QString escaped = text;
    escaped.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
    escaped.replace(QLatin1Char('"'), QStringLiteral("\\\""));
    return QLatin1Char('"') + escaped + QLatin1Char('"');
}

QString AppleNotesScripts::htmlBody(const QString& text)
{
    QString html = text;
    html.replace(QLatin1Char('&'), QStringLiteral("&amp;"));
    html.replace(QLatin1Char('<'), QStringLiteral("&lt;"));
    html.replace(QLatin1Char('>'), QStringLiteral("&gt;"));
    html.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    html.replace(QLatin1Char('\n'), QStringLiteral("<br>"));
    return QStringLiteral("<div>") + html + QStringLiteral("</div>");
}

QString AppleNotesScripts::listFolders()
{
    return lines({
        QStringLiteral("tell application \"Notes\""),
        QStringLiteral("    set collected to \"\""),
        QStringLiteral("    repeat with a in accounts"),
        QStringLiteral("        set accountName to name of a as text"),
        QStringLiteral("        repeat with f in folders of a"),
        QStringLiteral(
            "            set collected to collected & accountName & tab & (name of f as text) & linefeed"),
        QStringLiteral("        end repeat"),
        QStringLiteral("    end repeat"),
        QStringLiteral("    return collected"),
        QStringLiteral("end tell"),
    });
}

QString AppleNotesScripts::createNote(const QString& title, const QString& html, const QString& account,
                                      const QString& folder)
{
    return lines({
        QStringLiteral("tell application \"Notes\""),
        QStringLiteral("    tell account ") + quoted(account),
        QStringLiteral("        tell folder ") + quoted(folder),
        QStringLiteral("            set made to make new note with properties {name:") + quoted(title) +
            QStringLiteral(", body:") + quoted(html) + QStringLiteral("}"),
        QStringLiteral("            return id of made as text"),
        QStringLiteral("        end tell"),
        QStringLiteral("    end tell"),
        QStringLiteral("end tell"),
    });
}

QString AppleNotesScripts::reveal(const QString& noteID, const QString& account, const QString& folder)
{
    const QString id = quoted(noteID);
    return lines({
        QStringLiteral("tell application \"Notes\""),
        QStringLiteral("    activate"),
        QStringLiteral("    set opened to false"),
        QStringLiteral("    if ") + id + QStringLiteral(" is not \"\" then"),
        QStringLiteral("        try"),
        QStringLiteral("            set theNote to first note whose id is ") + id,
        QStringLiteral("            show theNote"),
        QStringLiteral("            set opened to true"),
        QStringLiteral("        end try"),
        QStringLiteral("    end if"),
        QStringLiteral("    if opened is false then"),
        QStringLiteral("        tell account ") + quoted(account),
        QStringLiteral("            tell folder ") + quoted(folder),
        QStringLiteral("                if (count of notes) > 0 then"),
        QStringLiteral("                    set theNote to first note whose creation date is (maximum of "
                       "creation date of notes)"),
        QStringLiteral("                    show theNote"),
        QStringLiteral("                end if"),
        QStringLiteral("            end tell"),
        QStringLiteral("        end tell"),
        QStringLiteral("    end if"),
        QStringLiteral("end tell"),
    });
}

QList<AppleNotesFolder> AppleNotesScripts::parseFolders(const QString& output)
{
    QList<AppleNotesFolder> folders;
    QSet<QString> seen;
    for (const QString& line : PlainText::nonEmptyLines(output)) {
        const qsizetype tab = line.indexOf(QLatin1Char('\t'));
        if (tab < 0)
            continue;
        AppleNotesFolder folder{line.first(tab).trimmed(), line.sliced(tab + 1).trimmed()};
        if (folder.account.isEmpty() || folder.name.isEmpty())
            continue;
        if (hiddenFolders().contains(PlainText::fold(folder.name)))
            continue;
        if (seen.contains(folder.id()))
            continue;
        seen.insert(folder.id());
        folders.append(std::move(folder));
    }
    const QCollator collator = folderCollator();
    std::stable_sort(folders.begin(), folders.end(),
                     [&](const AppleNotesFolder& a, const AppleNotesFolder& b) {
                         const int byAccount = collator.compare(a.account, b.account);
                         if (byAccount != 0)
                             return byAccount < 0;
                         return collator.compare(a.name, b.name) < 0;
                     });
    return folders;
}
