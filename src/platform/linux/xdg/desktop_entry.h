#pragma once

#include <QByteArray>
#include <QLocale>
#include <QString>
#include <QStringList>

#include <optional>

// What the "[Desktop Entry]" group of an XDG desktop file says about the application.
struct DesktopEntry {
    QString type;
    QString name; // localised for the given locale, else the plain Name
    bool noDisplay = false;
    bool hidden = false;
    QString startupWMClass; // the WM_CLASS its windows carry, when that differs from the id
    QStringList categories;
    QString icon; // an icon-theme name or an absolute path; empty when the file names none

    // Absent when the text has no "[Desktop Entry]" group.
    static std::optional<DesktopEntry> parse(const QByteArray& bytes, const QLocale& locale);
    static std::optional<DesktopEntry> read(const QString& path, const QLocale& locale);
};
