#include "ui/pages/history/recent_history.h"

#include "core/state/app_state.h"
#include "ui/kit/keyed_rows.h"
#include "ui/pages/history/history_search.h"

#include <QVBoxLayout>

RecentHistory::RecentHistory(AppState& state, HistoryRow::Mode mode, int count, QWidget* emptyHint,
                             QWidget* parent, Keep keep)
    : QWidget(parent)
    , m_state(state)
    , m_mode(mode)
    , m_count(count)
    , m_keep(std::move(keep))
    , m_emptyHint(emptyHint)
    , m_column(new QVBoxLayout(this))
    , m_rows(std::make_unique<KeyedRows>(*m_column))
{
    m_column->setContentsMargins(0, 0, 0, 0);
    m_column->setSpacing(2);
    if (m_emptyHint)
        m_column->addWidget(m_emptyHint);
    connect(&m_state, &AppState::historyChanged, this, &RecentHistory::refresh);
    refresh();
}

RecentHistory::~RecentHistory() = default;

QList<HistoryRow*> RecentHistory::rows() const
{
    QList<HistoryRow*> found;
    for (int i = 0; i < m_column->count(); ++i) {
        if (auto* row = qobject_cast<HistoryRow*>(m_column->itemAt(i)->widget()))
            found << row;
    }
    return found;
}

void RecentHistory::refresh()
{
    const QList<HistoryEntry>& history = m_state.history();
    QList<int> newest;
    for (int i = 0; i < int(history.size()) && newest.size() < m_count; ++i) {
        if (!m_keep || m_keep(history.at(i)))
            newest << i;
    }
    QHash<QString, int> places;
    const QStringList keys = HistorySearch::rowKeys(history, newest, places);
    m_rows->apply(
        keys,
        [&](const QString& key) { return new HistoryRow(m_state, history.at(places.value(key)), m_mode); },
        [&](QWidget* row, const QString& key) {
            auto* kept = static_cast<HistoryRow*>(row);
            if (!(kept->entry() == history.at(places.value(key))))
                kept->setEntry(history.at(places.value(key)));
        });
    if (m_emptyHint)
        m_emptyHint->setVisible(keys.isEmpty());
    emit filled(!keys.isEmpty());
}
