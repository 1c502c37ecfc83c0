#include "core/model/translate_language.h"
#include "core/text/l10n.h"
#include "ui/kit/kit_label.h"
#include "ui/pages/settings/settings_binder.h"
#include "ui/pages/settings/settings_row.h"
#include "ui/pages/settings/settings_section.h"
#include "ui/pages/settings/settings_sections.h"
#include "ui/pages/settings/settings_texts.h"

namespace {

using Choices = QList<SettingsBinder::Choice<QString>>;

// The recogniser that runs hears English only, so of the engine's languages only these can work.
bool recognisable(const QString& code)
{
    return code == QLatin1String("auto") || code == QLatin1String("en");
}

Choices dictationLanguages(AsrEngine engine)
{
    Choices choices;
    const QStringList& table =
        engine == AsrEngine::Whistle ? QuendaConfig::whistleLanguages() : QuendaConfig::whisperLanguages();
    for (const QString& code : table) {
        if (recognisable(code))
            choices.append({code, SettingsTexts::language(code)});
    }
    return choices;
}

} // namespace

SettingsSection* SettingsSections::languages(SettingsBinder& binder)
{
    auto* section = new SettingsSection(Symbol::Globe, L10n::s("settings.languages.title"));

    // Both engines' tables come down to the same choices here, so the menu is not rebuilt when the
    // engine changes.
    section->addRow(new SettingsRow(
        L10n::s("style.language"),
        binder.menu<QString>(&QuendaConfig::language, dictationLanguages(binder.state().config().asrEngine),
                             &SettingsTexts::language),
        L10n::s("settings.language.englishOnly")));

    Choices native;
    for (const TranslateLanguage& language : TranslateLanguage::all())
        native.append({language.id, SettingsTexts::language(language.id)});
    section->addRow(
        new SettingsRow(L10n::s("settings.nativeLanguage"),
                        binder.menu<QString>(&QuendaConfig::nativeLanguage, native, &SettingsTexts::language),
                        L10n::s("settings.nativeLanguage.detail")));
    return section;
}
