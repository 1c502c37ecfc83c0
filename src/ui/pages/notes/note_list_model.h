#pragma once

#include "core/model/quenda_note.h"

#include <QAbstractListModel>
#include <QUuid>

#include <functional>
#include <optional>

// The notes the list shows, in stored order: what the list title or "untitled" says, how long
// ago each changed and which one is open. A list of a thousand notes stays one view that draws
// only the rows in sight.
class NoteListModel final : public QAbstractListModel {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(NoteListModel)

public:
    enum Role { TimeRole = Qt::UserRole + 1, SelectedRole, IdRole };
    using Now = std::function<QDateTime()>;

    explicit NoteListModel(Now now, QObject* parent = nullptr);

    // A new set of notes replaces the rows; the same notes with new texts repaint only the rows
    // that changed.
    void setNotes(const QList<QuendaNote>& notes);
    void setSelected(const std::optional<QUuid>& id);
    // The row of a note, -1 when it is not shown.
    int rowOf(const QUuid& id) const;
    QUuid idAt(int row) const { return m_notes.at(row).id; }

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

private:
    Now m_now;
    QList<QuendaNote> m_notes;
    std::optional<QUuid> m_selected;
};
