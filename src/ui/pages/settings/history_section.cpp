#include "core/text/l10n.h"
#include "ui/binder/settings_binder.h"
#include "ui/pages/settings/settings_row.h"
#include "ui/pages/settings/settings_section.h"
#include "ui/pages/settings/settings_sections.h"
#include "ui/pages/settings/settings_texts.h"

namespace {

// 0 keeps entries of any age.
QString keepFor(const qint64& hours)
{
    return hours > 0 ? SettingsTexts::duration(hours * 3600) : L10n::s("settings.keepFor.always");
}

// 0 keeps any number.
QString keepAtMost(const qint64& count)
{
    return count > 0 ? SettingsTexts::entries(count) : L10n::s("settings.keepAtMost.any");
}

QList<SettingsBinder::Choice<qint64>> choices(const QList<qint64>& table, QString (*label)(const qint64&))
{
    QList<SettingsBinder::Choice<qint64>> list;
    for (const qint64 value : table)
        list.append({value, label(value)});
    return list;
}

} // namespace

SettingsSection* SettingsSections::history(SettingsBinder& binder)
{
    auto* section = new SettingsSection(Symbol::Clock, L10n::s("settings.history.title"));
    section->addRow(
        new SettingsRow(L10n::s("settings.keepFor"),
                        binder.menu<qint64>(&QuendaConfig::historyKeepHours,
                                            choices(QuendaConfig::historyKeepChoices(), &keepFor), &keepFor),
                        L10n::s("settings.keepFor.detail")));
    section->addRow(new SettingsRow(
        L10n::s("settings.keepAtMost"),
        binder.menu<qint64>(&QuendaConfig::historyMaxEntries,
                            choices(QuendaConfig::historyLimitChoices(), &keepAtMost), &keepAtMost)));
    return section;
}
