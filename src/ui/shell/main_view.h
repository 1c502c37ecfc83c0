#pragma once

#include <QWidget>

class AppState;
class QLabel;
class QListWidget;
class QStackedWidget;

// The main window's content: the sidebar of pages and the page the state's section names.
class MainView final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(MainView)

public:
    explicit MainView(AppState& state, QWidget* parent = nullptr);

    // The page on show, by its place in the sidebar.
    int currentPage() const;

private:
    QWidget* makeHome();
    QWidget* makePlaceholder(const QString& purposeKey);
    void followSection();

    AppState& m_state;
    QListWidget* m_sidebar;
    QStackedWidget* m_pages;
    QLabel* m_engineStatus = nullptr;
};
