#include "ui/pages/notes/note_list_model.h"

#include "core/text/fmt.h"
#include "core/text/l10n.h"

NoteListModel::NoteListModel(Now now, QObject* parent)
    : QAbstractListModel(parent)
    , m_now(std::move(now))
{
}

void NoteListModel::setNotes(const QList<QuendaNote>& notes)
{
    const bool sameRows = notes.size() == m_notes.size() &&
                          std::equal(notes.cbegin(), notes.cend(), m_notes.cbegin(),
                                     [](const QuendaNote& a, const QuendaNote& b) { return a.id == b.id; });
    if (!sameRows) {
        beginResetModel();
        m_notes = notes;
        endResetModel();
        return;
    }
    const QList<QuendaNote> before = std::exchange(m_notes, notes);
    for (qsizetype i = 0; i < notes.size(); ++i) {
        if (!(notes.at(i) == before.at(i)))
            emit dataChanged(index(int(i)), index(int(i)));
    }
}

void NoteListModel::setSelected(const std::optional<QUuid>& id)
{
    if (m_selected == id)
        return;
    const std::optional<QUuid> before = std::exchange(m_selected, id);
    for (const auto& touched : {before, id}) {
        if (touched) {
            if (const int row = rowOf(*touched); row >= 0)
                emit dataChanged(index(row), index(row), {SelectedRole});
        }
    }
}

int NoteListModel::rowOf(const QUuid& id) const
{
    for (qsizetype i = 0; i < m_notes.size(); ++i) {
        if (m_notes.at(i).id == id)
            return int(i);
    }
    return -1;
}

int NoteListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_notes.size());
}

QVariant NoteListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_notes.size())
        return {};
    const QuendaNote& note = m_notes.at(index.row());
    switch (role) {
    case Qt::DisplayRole:
    case Qt::AccessibleTextRole: {
        const QString title = note.listTitle();
        return title.isEmpty() ? L10n::s(QStringLiteral("notes.untitled")) : title;
    }
    case TimeRole:
    case Qt::AccessibleDescriptionRole:
        return Fmt::relative(note.updated, m_now());
    case SelectedRole:
        return m_selected == note.id;
    case IdRole:
        return note.id;
    default:
        return {};
    }
}
