#include "ui/pages/style/style_option.h"

#include "core/text/l10n.h"

#include <array>

namespace {

struct Row {
    const char* id;
    Symbol icon;
};

constexpr std::array<Row, 6> rows{{
    {"auto", Symbol::Sparkles},
    {"literal", Symbol::Quote},
    {"email", Symbol::Envelope},
    {"chat", Symbol::Chat},
    {"notes", Symbol::ListBullet},
    {"code", Symbol::Code},
}};

} // namespace

QList<StyleOption> StyleOption::all()
{
    QList<StyleOption> options;
    for (const Row& row : rows) {
        const QString id = QString::fromLatin1(row.id);
        const QString key = QStringLiteral("style.") + id;
        options.append({id, L10n::s(key), row.icon, L10n::s(key + QStringLiteral(".blurb")),
                        L10n::s(key + QStringLiteral(".before")), L10n::s(key + QStringLiteral(".after"))});
    }
    return options;
}

QString StyleOption::titled(const QString& id)
{
    for (const Row& row : rows) {
        if (id == QLatin1String(row.id))
            return L10n::s(QStringLiteral("style.") + id);
    }
    return id;
}
