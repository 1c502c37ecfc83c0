#pragma once

#include <QWidget>

#include <memory>

class AccessibilityRepair;
class AppIconCache;
class AppIcons;
class AppState;
class QVBoxLayout;
class Sidebar;

// The main window's content: the sidebar of pages and the page the state's section names, built
// anew each time the section changes so a page starts fresh (its search empty, its data re-read).
class MainView final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(MainView)

public:
    // Without a repair, the home page offers no repair of text access; without icons, the style
    // page shows every application with the same symbol.
    explicit MainView(AppState& state, AccessibilityRepair* repair = nullptr, QWidget* parent = nullptr,
                      AppIcons* icons = nullptr);
    ~MainView() override;

    // The page on show, by its place in the sidebar.
    int currentPage() const;
    QWidget* page() const { return m_page; }
    Sidebar* sidebar() const { return m_sidebar; }

private:
    QWidget* makePage();
    void followSection();

    AppState& m_state;
    AccessibilityRepair* m_repair;
    // Outlives the pages, so a page built anew finds its icons already looked up.
    std::unique_ptr<AppIconCache> m_icons;
    Sidebar* m_sidebar;
    QVBoxLayout* m_pageSlot;
    QWidget* m_page = nullptr;
    int m_pageIndex = -1;
};
