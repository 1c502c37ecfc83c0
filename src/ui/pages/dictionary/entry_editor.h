#pragma once

#include "core/model/dictionary_item.h"

#include <QWidget>

#include <optional>

class KitLabel;
class QHBoxLayout;
class QLineEdit;
class TextField;

// The two fields of an entry, the term and the form it is heard in, with the host's buttons at
// their right and the reason a refused entry gets under them. Enter in a field submits, Escape
// cancels; typing takes the reason away.
class EntryEditor final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(EntryEditor)

public:
    explicit EntryEditor(QWidget* parent = nullptr);

    QLineEdit* termField() const;
    QLineEdit* heardField() const;
    // Where the host puts its buttons.
    QHBoxLayout* actions() const { return m_actions; }
    void setFields(const QString& term, const QString& heardAs);
    void clear();

    // The entry the fields make; when they make none the reason shows and the fields keep their text.
    std::optional<DictionaryItem> take();
    // The reason on show, empty when none is.
    QString reason() const;

signals:
    void submitted();
    void cancelled();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showReason(const QString& reason);

    TextField* m_term;
    TextField* m_heard;
    QHBoxLayout* m_actions;
    KitLabel* m_reason;
};
