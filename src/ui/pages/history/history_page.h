#pragma once

#include "ui/kit/keyed_rows.h"
#include "ui/pages/history/history_search.h"

#include <QWidget>

#include <map>
#include <memory>

class AppState;
class Card;
class ClearHistoryQuestion;
class HistoryRow;
class KitLabel;
class LabelButton;
class Page;
class SearchField;

// The history page: a search field and a clear button above the history in one card per local
// day, newest day first. Rows are made a chunk at a time as the list scrolls near its end and
// kept by entry across searches and new entries, so a long history opens as fast as a short one.
// Ctrl+F takes the keyboard to the search field, and Escape there empties it.
class HistoryPage final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(HistoryPage)

public:
    static constexpr int chunk = 15;

    explicit HistoryPage(AppState& state, QWidget* parent = nullptr);
    ~HistoryPage() override;

    Page* page() const { return m_page; }
    SearchField* searchField() const { return m_field; }
    LabelButton* clearButton() const { return m_clear; }
    // The clear-all question, shown while it is asked.
    ClearHistoryQuestion* confirmation() const { return m_confirmation; }

    // The rows on show, in order.
    QList<HistoryRow*> rows() const;
    // The day titles on show, in order.
    QStringList dayTitles() const;
    // Rows made since the page was built.
    int rowsMade() const { return m_rowsMade; }
    // More entries match than have rows.
    bool hasMore() const { return m_shown < m_matched; }
    // Makes the next chunk of rows; scrolling near the end does it too.
    void showMore();

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct DayCard {
        Card* card;
        KitLabel* title;
        std::unique_ptr<KeyedRows> rows;
    };

    // Rows and cards of entries the history lost fold away when `leave` is set; a search drops
    // them at once.
    void refresh(const KeyedRows::Leave& leave = {});
    void showDays(const QList<HistorySearch::Group>& groups, const KeyedRows::Leave& leave);

    AppState& m_state;
    HistorySearch m_search;
    QString m_query;
    int m_limit = chunk;
    int m_shown = 0;
    int m_matched = 0;
    int m_rowsMade = 0;
    Page* m_page;
    SearchField* m_field;
    LabelButton* m_clear;
    ClearHistoryQuestion* m_confirmation;
    std::unique_ptr<KeyedRows> m_cards;
    std::map<QString, DayCard> m_days;
};
