#include "core/model/hotkey.h"
#include "core/text/l10n.h"
#include "ui/binder/settings_binder.h"
#include "ui/kit/key_cap.h"
#include "ui/kit/segmented_control.h"
#include "ui/kit/toggle_switch.h"
#include "ui/pages/settings/settings_row.h"
#include "ui/pages/settings/settings_section.h"
#include "ui/pages/settings/settings_sections.h"

#include <QHBoxLayout>

namespace {

// The current key as a key cap before the menu that changes it.
SettingsRow* hotkeyRow(SettingsBinder& binder)
{
    QList<SettingsBinder::Choice<Hotkey>> choices;
    for (const Hotkey key : HotkeyText::table.values()) {
        // X11 reports no Fn key; a stored Fn is shown, and watched as right Control.
        if (key != Hotkey::Function)
            choices.append({key, HotkeyText::title(key)});
    }
    auto* row = new SettingsRow(L10n::s("settings.hotkey"),
                                binder.menu<Hotkey>(&QuendaConfig::hotkey, choices, &HotkeyText::title),
                                L10n::s("settings.hotkey.detail"));
    auto* cap = new QWidget;
    auto* slot = new QHBoxLayout(cap);
    slot->setContentsMargins(0, 0, 0, 0);
    row->addBeforeControl(cap);
    binder.follow(cap, [&binder, slot, shown = std::optional<Hotkey>()]() mutable {
        const Hotkey key = binder.state().config().hotkey;
        if (shown == key)
            return;
        shown = key;
        if (QLayoutItem* old = slot->takeAt(0)) {
            delete old->widget();
            delete old;
        }
        slot->addWidget(new KeyCap(HotkeyText::symbol(key), false));
    });
    return row;
}

} // namespace

SettingsSection* SettingsSections::dictation(SettingsBinder& binder)
{
    auto* section = new SettingsSection(Symbol::Microphone, L10n::s("settings.dictation.title"));
    section->addRow(hotkeyRow(binder));
    section->addRow(new SettingsRow(L10n::s("settings.playSounds"), binder.toggle(&QuendaConfig::playSounds),
                                    L10n::s("settings.playSounds.detail")));
    QList<SettingsBinder::Choice<OthersAudio>> audio;
    for (const OthersAudio mode : OthersAudioText::table.values())
        audio.append(
            {mode, L10n::s(QStringLiteral("settings.othersAudio.") + OthersAudioText::table.text(mode))});
    section->addRow(new SettingsRow(L10n::s("settings.othersAudio"),
                                    binder.segments<OthersAudio>(&QuendaConfig::othersAudio, audio),
                                    L10n::s("settings.othersAudio.detail")));
    section->addRow(new SettingsRow(L10n::s("style.command.title"), binder.toggle(&QuendaConfig::commandMode),
                                    L10n::s("style.command.body")));
    section->addRow(new SettingsRow(L10n::s("settings.learnEdits"), binder.toggle(&QuendaConfig::learnEdits),
                                    L10n::s("settings.learnEdits.detail")));
    return section;
}
