#pragma once

#include <QString>
#include <QtGlobal>

struct QuendaConfig;

// The settings page's texts for the values of its choice lists.
namespace SettingsTexts {

// A span of time in the largest unit that divides it: "90 seconds", "1 minute", "2 days",
// "1 week", "1 year". Zero and below have no text of their own here; each list names its zero.
QString duration(qint64 seconds);
// "1 entry", "250 entries".
QString entries(qint64 count);
// The language's name under "lang.<code>", or the code where no table names it.
QString language(const QString& code);
// What the dictation language row says under its menu, wherever it stands.
QString dictationLanguageHint(const QuendaConfig& config);

} // namespace SettingsTexts
