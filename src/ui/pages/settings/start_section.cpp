#include "core/text/l10n.h"
#include "ui/binder/settings_binder.h"
#include "ui/kit/kit_label.h"
#include "ui/kit/toggle_switch.h"
#include "ui/pages/settings/settings_row.h"
#include "ui/pages/settings/settings_section.h"
#include "ui/pages/settings/settings_sections.h"

SettingsSection* SettingsSections::start(SettingsBinder& binder)
{
    AppState& state = binder.state();
    auto* section = new SettingsSection(Symbol::Power, L10n::s("settings.start.title"));
    section->addRow(new SettingsRow(L10n::s("settings.launchAtLogin"),
                                    binder.toggle(&QuendaConfig::launchAtLogin),
                                    L10n::s("settings.launchAtLogin.detail")));
    auto* version = new KitLabel(L10n::format(QStringLiteral("settings.version.value"), {state.appVersion()}),
                                 TextRole::Body, Scheme::Text::Secondary);
    version->setTextInteractionFlags(Qt::TextSelectableByMouse);
    section->addRow(new SettingsRow(L10n::s("settings.version"), version));
    section->addRow(new SettingsRow(
        L10n::s("settings.updates"), nullptr,
        L10n::s(state.checksForUpdates() ? "settings.updates.feed" : "settings.updates.byInstall")));
    return section;
}
