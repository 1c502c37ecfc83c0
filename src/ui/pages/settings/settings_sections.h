#pragma once

class AccessibilityRepair;
class AppCommands;
class OpenAIKeyStore;
class QComboBox;
class SettingsBinder;
class SettingsSection;

// The settings page's sections, each built over the binder that ties its controls to the
// configuration. Correction is a widget of its own (CorrectionSection).
namespace SettingsSections {

// The hotkey, sounds, other audio, command mode and learning from edits.
SettingsSection* dictation(SettingsBinder& binder);
// The dictation language and the user's own language.
SettingsSection* languages(SettingsBinder& binder);
// The menu of the dictation languages the recogniser in use hears, here and on the style page.
QComboBox* dictationLanguage(SettingsBinder& binder);
// The recogniser, the user's own speech server (without a key store, its key row is left out), the
// engine's state and, behind a disclosure, its port.
SettingsSection* speech(SettingsBinder& binder, AppCommands& commands, OpenAIKeyStore* keys);
// The floating widget and where and how long its result cards show.
SettingsSection* widget(SettingsBinder& binder);
// How long and how many dictations the history keeps.
SettingsSection* history(SettingsBinder& binder);
// Launch at login, the version and how updates arrive.
SettingsSection* start(SettingsBinder& binder);
// The microphone and accessibility with the repair card, and the support folder.
SettingsSection* permissions(SettingsBinder& binder, AccessibilityRepair* repair);

} // namespace SettingsSections
