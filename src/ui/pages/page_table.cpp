#include "ui/pages/page_table.h"

#include "ui/pages/commands/commands_page.h"
#include "ui/pages/dictionary/dictionary_page.h"
#include "ui/pages/history/history_page.h"
#include "ui/pages/home/home_page.h"
#include "ui/pages/notes/notes_page.h"
#include "ui/pages/settings/settings_page.h"
#include "ui/pages/style/style_page.h"

#include <algorithm>
#include <iterator>

namespace {

using Services = PageTable::Services;

constexpr PageTable::Row pages[] = {
    {MainSection::Home, Symbol::House,
     [](const Services& s, QWidget* parent) -> QWidget* {
         return new HomePage(s.state, s.commands, s.repair, parent);
     }},
    {MainSection::Commands, Symbol::Wand,
     [](const Services& s, QWidget* parent) -> QWidget* {
         return new CommandsPage(s.state, s.commands, parent);
     }},
    {MainSection::History, Symbol::Clock,
     [](const Services& s, QWidget* parent) -> QWidget* { return new HistoryPage(s.state, parent); }},
    {MainSection::Notes, Symbol::Note,
     [](const Services& s, QWidget* parent) -> QWidget* { return new NotesPage(s.state, parent); }},
    {MainSection::Style, Symbol::Pen,
     [](const Services& s, QWidget* parent) -> QWidget* {
         return new StylePage(s.state, s.commands, s.icons, parent);
     }},
    {MainSection::Dictionary, Symbol::Book,
     [](const Services& s, QWidget* parent) -> QWidget* { return new DictionaryPage(s.state, parent); }},
    {MainSection::Settings, Symbol::Gear,
     [](const Services& s, QWidget* parent) -> QWidget* {
         return new SettingsPage(s.state, s.commands, s.repair, s.keys, parent);
     }},
};

} // namespace

std::span<const PageTable::Row> PageTable::rows()
{
    return pages;
}

int PageTable::indexOf(MainSection section)
{
    for (size_t i = 0; i < std::size(pages); ++i) {
        if (pages[i].section == section)
            return int(i);
    }
    return -1;
}

const PageTable::Row& PageTable::row(MainSection section)
{
    return pages[std::max(indexOf(section), 0)];
}
