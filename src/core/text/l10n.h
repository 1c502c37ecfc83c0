#pragma once

#include <QHash>
#include <QLocale>
#include <QMap>
#include <QString>
#include <QStringList>
#include <QVariantList>

#include <optional>

// Every user-visible text, looked up by dotted key in JSON language tables kept beside the
// program. The language is picked once per process from the desktop's preferred languages.
namespace L10n {

using Table = QHash<QString, QString>;
// Canonical language code to table, in ascending code order.
using TableSet = QMap<QString, Table>;

// Built once per process and never changed afterwards, so it may be read from any thread.
struct Loaded {
    QString code;
    QLocale locale;
    Table active;
    Table english;
};

// Where the tables and the preferred languages come from; tests build their own.
struct Sources {
    QStringList folders;
    QStringList preferred;
};

// The active language's text, else the English text, else the key itself.
QString s(const QString& key);
// The same for a key spelled in the source.
QString s(const char* key);
// The text of key filled with arguments in the active locale (see TextFormat::format).
QString format(const QString& key, const QVariantList& arguments);
// The locale of the active language, for filling looked-up texts with numbers.
QLocale locale();
// The program's version as the application object carries it; "" when none was set.
QString appVersion();
const Loaded& loaded();

// Replaces the process-wide record with one built from sources. For tests; the app never
// calls it. Records handed out earlier stay valid.
void install(const Sources& sources);

// Building blocks of the record.
// The program's resources, the source tree's tables, then the support folder's.
QStringList directories();
Sources desktopSources();
// Later folders' texts win key by key; unreadable or malformed files are skipped whole.
TableSet readTables(const QStringList& folders);
// "pt_br" -> "pt-BR", "zh_hans_cn" -> "zh-Hans-CN", "EN" -> "en".
QString canonical(const QString& code);
// "zh-Hans-CN" -> zh-Hans-CN, zh-Hans, zh.
QStringList candidates(const QString& identifier);
std::optional<QString> match(const QString& code, const QStringList& codes);
QString resolve(const QStringList& preferred, const QStringList& codes);
Loaded load(const Sources& sources);

} // namespace L10n
