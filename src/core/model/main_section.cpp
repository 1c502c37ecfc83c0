#include "core/model/main_section.h"

#include "core/text/l10n.h"

const QList<MainSection>& MainSectionText::all()
{
    static const QList<MainSection> sections{
        MainSection::Home,  MainSection::Commands,   MainSection::History, MainSection::Notes,
        MainSection::Style, MainSection::Dictionary, MainSection::Settings};
    return sections;
}

QString MainSectionText::rawValue(MainSection section)
{
    switch (section) {
    case MainSection::Home:
        return QStringLiteral("home");
    case MainSection::Commands:
        return QStringLiteral("commands");
    case MainSection::History:
        return QStringLiteral("history");
    case MainSection::Notes:
        return QStringLiteral("notes");
    case MainSection::Style:
        return QStringLiteral("style");
    case MainSection::Dictionary:
        return QStringLiteral("dictionary");
    case MainSection::Settings:
        return QStringLiteral("settings");
    }
    return QStringLiteral("home");
}

std::optional<MainSection> MainSectionText::fromRaw(const QString& raw)
{
    for (const MainSection section : all()) {
        if (rawValue(section) == raw)
            return section;
    }
    return std::nullopt;
}

QString MainSectionText::title(MainSection section)
{
    return L10n::s(QStringLiteral("nav.") + rawValue(section));
}
