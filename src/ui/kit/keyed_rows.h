#pragma once

#include <QHash>
#include <QList>
#include <QPointer>
#include <QString>

#include <functional>

class QBoxLayout;
class QWidget;

// Keeps one row widget per key in a layout: a new list of keys reuses the rows it already has,
// so a row keeps its expansion and keyboard focus; rows of keys no longer listed are dropped (or
// handed to a leave that takes them away in its own time) and new keys get new rows, all in the
// order of the list. Items without a widget, such as the gaps of rows on their way out, are
// stepped over.
class KeyedRows final {
public:
    using Make = std::function<QWidget*(const QString& key)>;
    // Brings a kept row up to date for its key.
    using Update = std::function<void(QWidget* row, const QString& key)>;
    // Takes over a dropped row, which must leave the layout by itself.
    using Leave = std::function<void(QWidget* row)>;

    // Rows go into layout starting at index `first`; the layout's items before it are left alone.
    KeyedRows(QBoxLayout& layout, int first = 0);

    void apply(const QList<QString>& keys, const Make& make, const Update& update = {},
               const Leave& leave = {});
    QWidget* row(const QString& key) const { return m_rows.value(key); }
    int count() const { return int(m_order.size()); }

private:
    QBoxLayout& m_layout;
    int m_first;
    QHash<QString, QPointer<QWidget>> m_rows;
    QList<QString> m_order;
};
