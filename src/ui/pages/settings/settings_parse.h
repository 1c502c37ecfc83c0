#pragma once

#include <QString>

// Readings shared by the settings rows that take the same kind of typed text.
namespace SettingsParse {

// Whether the text is an http or https address with a host, as the engine can reach it.
bool isWebAddress(const QString& text);
// A stored text goes into its field unchanged.
QString shownAsIs(const QString& text);

} // namespace SettingsParse
