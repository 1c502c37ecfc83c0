#include "core/text/l10n.h"

#include "core/base/json_fields.h"
#include "core/base/resource_paths.h"
#include "core/base/support_paths.h"
#include "core/text/text_format.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QJsonObject>

#include <atomic>
#include <memory>
#include <mutex>
#include <vector>

namespace {

const QString kEnglish = QStringLiteral("en");

std::mutex g_mutex;
std::atomic<const L10n::Loaded*> g_loaded{nullptr};

// Every record ever built stays alive: lookups on other threads may still hold a reference.
std::vector<std::unique_ptr<const L10n::Loaded>>& records()
{
    static std::vector<std::unique_ptr<const L10n::Loaded>> all;
    return all;
}

const L10n::Loaded* publish(L10n::Loaded record)
{
    records().push_back(std::make_unique<const L10n::Loaded>(std::move(record)));
    const L10n::Loaded* current = records().back().get();
    g_loaded.store(current, std::memory_order_release);
    return current;
}

// A table is all strings or nothing: one stray number means the file was not meant for us.
std::optional<L10n::Table> readTable(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const auto parsed = JsonText::parseObject(file.readAll());
    if (!parsed)
        return std::nullopt;
    const QJsonObject& object = *parsed;
    L10n::Table table;
    for (auto it = object.begin(); it != object.end(); ++it) {
        if (!it.value().isString())
            return std::nullopt;
        if (!it.key().startsWith(u'_'))
            table.insert(it.key(), it.value().toString());
    }
    return table;
}

} // namespace

QString L10n::s(const char* key)
{
    return s(QString::fromLatin1(key));
}

QString L10n::s(const QString& key)
{
    const Loaded& record = loaded();
    if (const auto it = record.active.constFind(key); it != record.active.constEnd())
        return *it;
    if (const auto it = record.english.constFind(key); it != record.english.constEnd())
        return *it;
    return key;
}

QString L10n::format(const QString& key, const QVariantList& arguments)
{
    return TextFormat::format(s(key), locale(), arguments);
}

QLocale L10n::locale()
{
    return loaded().locale;
}

QString L10n::appVersion()
{
    return QCoreApplication::applicationVersion();
}

const L10n::Loaded& L10n::loaded()
{
    if (const Loaded* current = g_loaded.load(std::memory_order_acquire))
        return *current;
    std::lock_guard lock(g_mutex);
    if (const Loaded* current = g_loaded.load(std::memory_order_acquire))
        return *current;
    return *publish(load(desktopSources()));
}

void L10n::install(const Sources& sources)
{
    Loaded record = load(sources);
    std::lock_guard lock(g_mutex);
    publish(std::move(record));
}

QStringList L10n::directories()
{
    QStringList folders;
    if (const QString resources = ResourcePaths::directory(); !resources.isEmpty())
        folders << QDir(resources).filePath(QStringLiteral("Languages"));
    folders << SupportPaths::file(QStringLiteral("Languages"));
    return folders;
}

L10n::Sources L10n::desktopSources()
{
    return {directories(), QLocale::system().uiLanguages()};
}

L10n::TableSet L10n::readTables(const QStringList& folders)
{
    TableSet tables;
    for (const QString& folder : folders) {
        // Without QDir::System, FIFOs and devices stay out: reading one could block forever.
        const QFileInfoList entries =
            QDir(folder).entryInfoList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
        for (const QFileInfo& entry : entries) {
            const QString name = entry.completeBaseName();
            if (entry.suffix().toLower() != QLatin1String("json") || name.isEmpty())
                continue;
            const auto table = readTable(entry.filePath());
            if (!table)
                continue;
            Table& merged = tables[canonical(name)];
            for (auto it = table->begin(); it != table->end(); ++it)
                merged.insert(it.key(), it.value());
        }
    }
    return tables;
}

QString L10n::canonical(const QString& code)
{
    QStringList pieces = QString(code).replace(u'_', u'-').split(u'-', Qt::SkipEmptyParts);
    if (pieces.isEmpty())
        return code;
    pieces[0] = pieces[0].toLower();
    for (qsizetype i = 1; i < pieces.size(); ++i) {
        QString& piece = pieces[i];
        if (piece.size() == 2 && piece[0].isLetter() && piece[1].isLetter())
            piece = piece.toUpper();
        else
            piece = piece.left(1).toUpper() + piece.mid(1).toLower();
    }
    return pieces.join(u'-');
}

QStringList L10n::candidates(const QString& identifier)
{
    const QString n = QString(identifier).replace(u'_', u'-');
    QStringList list{n};
    const QStringList pieces = n.split(u'-', Qt::SkipEmptyParts);
    if (pieces.size() > 2)
        list << pieces.first(pieces.size() - 1).join(u'-');
    if (!pieces.isEmpty() && !list.contains(pieces.first(), Qt::CaseInsensitive))
        list << pieces.first();
    return list;
}

std::optional<QString> L10n::match(const QString& code, const QStringList& codes)
{
    const QString wanted = canonical(code);
    for (const QString& candidate : codes) {
        if (canonical(candidate).compare(wanted, Qt::CaseInsensitive) == 0)
            return candidate;
    }
    return std::nullopt;
}

QString L10n::resolve(const QStringList& preferred, const QStringList& codes)
{
    const QString first = preferred.isEmpty() ? kEnglish : preferred.first();
    for (const QString& candidate : candidates(first)) {
        if (const auto found = match(candidate, codes))
            return *found;
    }
    if (const auto english = match(kEnglish, codes))
        return *english;
    QStringList sorted = codes;
    sorted.sort();
    return sorted.isEmpty() ? kEnglish : sorted.first();
}

L10n::Loaded L10n::load(const Sources& sources)
{
    const TableSet tables = readTables(sources.folders);
    const QStringList codes = tables.keys();
    Loaded record;
    record.code = resolve(sources.preferred, codes);
    record.locale = QLocale(record.code);
    if (const auto english = match(kEnglish, codes))
        record.english = tables.value(*english);
    record.active = tables.contains(record.code) ? tables.value(record.code) : record.english;
    return record;
}
