#include "ui/kit/keyed_rows.h"

#include <QBoxLayout>
#include <QSet>
#include <QWidget>

KeyedRows::KeyedRows(QBoxLayout& layout, int first)
    : m_layout(layout)
    , m_first(first)
{
}

void KeyedRows::apply(const QList<QString>& keys, const Make& make, const Update& update, const Leave& leave)
{
    const QSet<QString> wanted(keys.begin(), keys.end());
    for (auto it = m_rows.begin(); it != m_rows.end();) {
        if (!wanted.contains(it.key()) || !it.value()) {
            if (QWidget* gone = it.value(); gone && leave) {
                leave(gone);
            } else if (gone) {
                m_layout.removeWidget(gone);
                gone->hide();
                // Later: the change may come from a click on this very row.
                gone->deleteLater();
            }
            it = m_rows.erase(it);
        } else {
            ++it;
        }
    }
    m_order.clear();
    // Long lists: a set for the keys placed and the layout's item at the index, never searches.
    QSet<QString> placed;
    placed.reserve(keys.size());
    int index = m_first;
    for (const QString& key : keys) {
        if (placed.contains(key))
            continue; // a key listed twice keeps its first place
        placed.insert(key);
        QWidget* row = m_rows.value(key);
        if (row) {
            // Over the gaps before it, but never past a trailing stretch.
            while (m_layout.itemAt(index) && !m_layout.itemAt(index)->widget() && m_layout.itemAt(index + 1))
                ++index;
            if (update)
                update(row, key);
            const QLayoutItem* here = m_layout.itemAt(index);
            if (!here || here->widget() != row) {
                m_layout.removeWidget(row);
                m_layout.insertWidget(index, row);
            }
        } else {
            row = make(key);
            m_rows.insert(key, row);
            m_layout.insertWidget(index, row);
        }
        m_order.append(key);
        ++index;
    }
}
