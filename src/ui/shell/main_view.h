#pragma once

#include "ui/pages/page_table.h"

#include <QWidget>

#include <memory>

class AccessibilityRepair;
class AppCommands;
class AppIcons;
class AppState;
class MainBanner;
class OpenAIKeyStore;
class QVBoxLayout;
class Sidebar;

// The main window's content: the sidebar of pages, the banner of the moment, and below it the page
// the state's section names, built anew each time the section changes so a page starts fresh (its
// search empty, its data re-read).
class MainView final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(MainView)

public:
    // Without a repair, the home page offers no repair of text access; without icons, the style
    // page shows every application with the same symbol; without keys, the settings show none.
    MainView(AppState& state, AppCommands& commands, AccessibilityRepair* repair = nullptr,
             QWidget* parent = nullptr, AppIcons* icons = nullptr, OpenAIKeyStore* keys = nullptr);
    ~MainView() override;

    // The page on show, by its place in the page table.
    int currentPage() const;
    QWidget* page() const { return m_page; }
    Sidebar* sidebar() const { return m_sidebar; }
    MainBanner* banner() const { return m_banner; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void followSection();
    // A banner above the page sets it apart from the window's edge: the page's title follows it
    // at the page's spacing instead of its own top room.
    void fitUnderBanner();

    AppState& m_state;
    std::unique_ptr<AppIconCache> m_icons;
    PageTable::Services m_services;
    Sidebar* m_sidebar;
    MainBanner* m_banner;
    QVBoxLayout* m_pageSlot;
    QWidget* m_page = nullptr;
    int m_pageIndex = -1;
};
