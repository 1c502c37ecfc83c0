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

// The built-in recogniser hears English only, so of its engine's languages only these can work.
bool recognisable(const QString& code)
{
    return code == QLatin1String("auto") || code == QLatin1String("en");
}

// The languages of the recogniser that writes the dictations: a Whisper server's table, or the
// part of the engine's table the built-in recogniser understands.
Choices dictationLanguages(const QuendaConfig& config)
{
    const bool server = config.speechServer().has_value();
    const QStringList& table = config.asrEngine == AsrEngine::Whistle ? QuendaConfig::whistleLanguages()
                                                                      : QuendaConfig::whisperLanguages();
    Choices choices;
    for (const QString& code : table) {
        if (server || recognisable(code))
            choices.append({code, SettingsTexts::language(code)});
    }
    return choices;
}

} // namespace

SettingsSection* SettingsSections::languages(SettingsBinder& binder)
{
    auto* section = new SettingsSection(Symbol::Globe, L10n::s("settings.languages.title"));

    auto* language = new SettingsRow(
        L10n::s("style.language"),
        binder.menu<QString>(&QuendaConfig::language, &dictationLanguages, &SettingsTexts::language),
        L10n::s("settings.language.englishOnly"));
    binder.follow(language, [&binder, language] {
        language->detail()->setText(L10n::s(binder.state().config().speechServer()
                                                ? "settings.language.server"
                                                : "settings.language.englishOnly"));
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
