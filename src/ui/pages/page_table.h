#pragma once

#include "core/model/main_section.h"
#include "ui/kit/symbol.h"

#include <span>

class AccessibilityRepair;
class AppIconCache;
class AppCommands;
class AppState;
class OpenAIKeyStore;
class QWidget;

// The main window's pages, each registered once: the sidebar lists them in this order with their
// symbols, the main view builds the one the state names, and the snapshot draws each. A page is
// one row here and its folder beside this file, named in this folder's CMakeLists.txt.
namespace PageTable {

// What the main window hands the page it builds; each page takes what it needs.
struct Services {
    AppState& state;
    AppCommands& commands;
    AccessibilityRepair* repair; // none: home offers no repair of text access
    AppIconCache& icons;         // outlives the pages, so a page built anew finds its icons looked up
    OpenAIKeyStore* keys;        // none: the settings show no provider keys
};

struct Row {
    MainSection section;
    Symbol symbol;
    QWidget* (*make)(const Services& services, QWidget* parent);
};

std::span<const Row> rows();
// The section's place in rows(), or -1 for a section without a page.
int indexOf(MainSection section);
// The section's row; one without a page gets the first.
const Row& row(MainSection section);

} // namespace PageTable
