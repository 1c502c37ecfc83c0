#include "core/model/translate_language.h"
#include "core/text/l10n.h"
#include "ui/binder/settings_binder.h"
#include "ui/kit/kit_label.h"
#include "ui/pages/settings/settings_row.h"
#include "ui/pages/settings/settings_section.h"
#include "ui/pages/settings/settings_sections.h"
#include "ui/pages/settings/settings_texts.h"

namespace {

using Choices = QList<SettingsBinder::Choice<QString>>;

Choices dictationLanguages(const QuendaConfig& config)
{
    Choices choices;
    for (const QString& code : config.dictationLanguages())
        choices.append({code, SettingsTexts::language(code)});
    return choices;
}

} // namespace

QComboBox* SettingsSections::dictationLanguage(SettingsBinder& binder)
{
    return binder.menu<QString>(&QuendaConfig::language, &dictationLanguages, &SettingsTexts::language);
}

SettingsSection* SettingsSections::languages(SettingsBinder& binder)
{
    auto* section = new SettingsSection(Symbol::Globe, L10n::s("settings.languages.title"));

    auto* language = new SettingsRow(L10n::s("style.language"), SettingsSections::dictationLanguage(binder),
                                     L10n::s("settings.language.englishOnly"));
    binder.follow(language, [&binder, language] {
        language->detail()->setText(SettingsTexts::dictationLanguageHint(binder.state().config()));
        language->control()->setAccessibleDescription(language->detail()->text());
    });
    section->addRow(language);

    Choices native;
    for (const TranslateLanguage& language : TranslateLanguage::all())
        native.append({language.id, SettingsTexts::language(language.id)});
    section->addRow(
        new SettingsRow(L10n::s("settings.nativeLanguage"),
                        binder.menu<QString>(&QuendaConfig::nativeLanguage, native, &SettingsTexts::language),
                        L10n::s("settings.nativeLanguage.detail")));
    return section;
}
