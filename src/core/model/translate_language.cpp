#include "core/model/translate_language.h"

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
