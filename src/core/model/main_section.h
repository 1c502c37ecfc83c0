#pragma once

#include "core/base/enum_table.h"

#include <QString>

// The pages of the main window.
enum class MainSection { Home, Commands, History, Notes, Style, Dictionary, Settings };

// The sections of the settings page, in page order: where another view can open that page.
enum class SettingsPlace { Dictation, Languages, Speech, Correction, Widget, History, Start, Permissions };

namespace MainSectionText {

// The text is the page's name in file and text keys; the page table gives the sidebar's order.
inline constexpr EnumTable<MainSection>::Row rows[] = {
    {MainSection::Home, QLatin1String("home")},
    {MainSection::Commands, QLatin1String("commands")},
    {MainSection::History, QLatin1String("history")},
    {MainSection::Notes, QLatin1String("notes")},
    {MainSection::Style, QLatin1String("style")},
    {MainSection::Dictionary, QLatin1String("dictionary")},
    {MainSection::Settings, QLatin1String("settings")},
};
inline constexpr EnumTable<MainSection> table{rows, MainSection::Home};

} // namespace MainSectionText
