#pragma once

#include "ui/pages/history/history_row.h"

#include <QWidget>

#include <functional>
#include <memory>

class AppState;
class KeyedRows;
class QVBoxLayout;

// The newest entries of the history as rows of one mode, kept by entry as the history changes;
// the home page, the popover and the commands page show it. With no history it shows the hint
// it was given, or nothing.
class RecentHistory final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(RecentHistory)

public:
    // Which entries count; none: every entry.
    using Keep = std::function<bool(const HistoryEntry&)>;

    RecentHistory(AppState& state, HistoryRow::Mode mode, int count, QWidget* emptyHint = nullptr,
                  QWidget* parent = nullptr, Keep keep = {});
    ~RecentHistory() override;

    QList<HistoryRow*> rows() const;

signals:
    // Whether there are rows, after each change of the history.
    void filled(bool any);

private:
    void refresh();

    AppState& m_state;
    const HistoryRow::Mode m_mode;
    const int m_count;
    const Keep m_keep;
    QWidget* m_emptyHint;
    QVBoxLayout* m_column;
    std::unique_ptr<KeyedRows> m_rows;
};
