#include "ui/pages/settings/settings_texts.h"

#include "core/config/quenda_config.h"
#include "core/text/l10n.h"

#include <array>

namespace {

// One and other are all the plural forms English and German have.
QString counted(const char* unit, qint64 count)
{
    return L10n::format(QStringLiteral("settings.unit.") + QLatin1String(unit) +
                            (count == 1 ? QStringLiteral(".one") : QStringLiteral(".other")),
                        {count});
}

} // namespace

QString SettingsTexts::duration(qint64 seconds)
{
    struct Unit {
        const char* name;
        qint64 seconds;
    };
    static constexpr std::array<Unit, 5> units{{
        {"year", 365LL * 24 * 3600},
        {"week", 7LL * 24 * 3600},
        {"day", 24LL * 3600},
        {"hour", 3600},
        {"minute", 60},
    }};
    for (const Unit& unit : units) {
        if (seconds >= unit.seconds && seconds % unit.seconds == 0)
            return counted(unit.name, seconds / unit.seconds);
    }
    return counted("second", seconds);
}

QString SettingsTexts::entries(qint64 count)
{
    return counted("entry", count);
}

QString SettingsTexts::language(const QString& code)
{
    const QString key = QStringLiteral("lang.") + code;
    const QString name = L10n::s(key);
    return name == key ? code : name;
}

QString SettingsTexts::dictationLanguageHint(const QuendaConfig& config)
{
    return L10n::s(config.speechServer() ? "settings.language.server" : "settings.language.englishOnly");
}
