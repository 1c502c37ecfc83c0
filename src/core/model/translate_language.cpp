#include "core/model/translate_language.h"

#include <algorithm>

const QList<TranslateLanguage>& TranslateLanguage::all()
{
    static const QList<TranslateLanguage> rows{
        {QStringLiteral("de"), QStringLiteral("🇩🇪")}, {QStringLiteral("en"), QStringLiteral("🇬🇧")},
        {QStringLiteral("fr"), QStringLiteral("🇫🇷")}, {QStringLiteral("es"), QStringLiteral("🇪🇸")},
        {QStringLiteral("it"), QStringLiteral("🇮🇹")}, {QStringLiteral("pt"), QStringLiteral("🇵🇹")},
        {QStringLiteral("nl"), QStringLiteral("🇳🇱")}, {QStringLiteral("pl"), QStringLiteral("🇵🇱")},
        {QStringLiteral("tr"), QStringLiteral("🇹🇷")},
    };
    return rows;
}

const TranslateLanguage& TranslateLanguage::named(const QString& code)
{
    for (const auto& row : all()) {
        if (row.id == code)
            return row;
    }
    return all().front();
}

QList<TranslateLanguage> TranslateLanguage::menu(const QString& nativeLanguage)
{
    static const QStringList fixed{QStringLiteral("en"), QStringLiteral("de"), QStringLiteral("fr"),
                                   QStringLiteral("es"), QStringLiteral("it"), QStringLiteral("pt"),
                                   QStringLiteral("nl"), QStringLiteral("pl"), QStringLiteral("tr")};
    QStringList codes{nativeLanguage};
    for (const QString& code : fixed) {
        if (code != nativeLanguage)
            codes << code;
    }
    QList<TranslateLanguage> targets;
    for (const QString& code : codes) {
        const auto found =
            std::find_if(all().begin(), all().end(), [&](const auto& l) { return l.id == code; });
        if (found != all().end())
            targets << *found;
    }
    return targets;
}
