#include "ui/pages/notes/note_selection.h"

#include "core/state/app_state.h"

#include <algorithm>
#include <utility>

namespace {

std::optional<QUuid> firstID(const QList<QuendaNote>& notes)
{
    if (notes.isEmpty())
        return std::nullopt;
    return notes.first().id;
}

QList<QUuid> idsOf(const QList<QuendaNote>& notes)
{
    QList<QUuid> ids;
    ids.reserve(notes.size());
    for (const QuendaNote& note : notes)
        ids.append(note.id);
    return ids;
}

} // namespace

NoteSelection::NoteSelection(AppState& state, QObject* parent)
    : QObject(parent)
    , m_state(state)
    , m_ids(idsOf(state.notes()))
{
    connect(&m_state, &AppState::noteToOpenChanged, this, &NoteSelection::followRequest);
    connect(&m_state, &AppState::notesChanged, this, &NoteSelection::followIds);
}

void NoteSelection::setQuery(const QString& query)
{
    if (m_query == query)
        return;
    m_query = query;
    emit queryChanged();
}

bool NoteSelection::matches(const QuendaNote& note, const QString& foldedQuery)
{
    return note.title.contains(foldedQuery, Qt::CaseInsensitive) ||
           note.body.contains(foldedQuery, Qt::CaseInsensitive);
}

QList<const QuendaNote*> NoteSelection::filtered() const
{
    const QString folded = m_query.trimmed().toLower();
    QList<const QuendaNote*> shown;
    for (const QuendaNote& note : m_state.notes()) {
        if (folded.isEmpty() || matches(note, folded))
            shown.append(&note);
    }
    return shown;
}

void NoteSelection::select(const std::optional<QUuid>& id)
{
    // The edits of the note left behind reach the file before another one opens.
    m_state.flushNotes();
    const std::optional<QUuid> left = m_selected;
    const QList<QuendaNote>& notes = m_state.notes();
    auto it = notes.cend();
    if (id)
        it = std::find_if(notes.cbegin(), notes.cend(), [&](const QuendaNote& n) { return n.id == *id; });
    // A note deleted meanwhile would take edits that are dropped: open one that exists.
    if (it == notes.cend())
        it = notes.cbegin();
    if (it == notes.cend()) {
        m_selected.reset();
        m_title.clear();
        m_body.clear();
    } else {
        m_selected = it->id;
        m_title = it->title;
        m_body = it->body;
    }
    if (left && left != m_selected)
        dropIfBlank(*left);
    emit selected();
}

void NoteSelection::dropIfBlank(const QUuid& id)
{
    const QList<QuendaNote>& notes = m_state.notes();
    const auto it =
        std::find_if(notes.cbegin(), notes.cend(), [&](const QuendaNote& n) { return n.id == id; });
    if (it != notes.cend() && it->title.trimmed().isEmpty() && it->body.trimmed().isEmpty())
        m_state.deleteNote(id);
}

void NoteSelection::commit(const QString& title, const QString& body)
{
    if (!m_selected)
        return;
    m_title = title;
    m_body = body;
    m_state.updateNote(*m_selected, title, body);
}

void NoteSelection::create()
{
    setQuery(QString());
    select(m_state.createNote());
}

void NoteSelection::deleteSelected()
{
    if (!m_selected)
        return;
    std::optional<QUuid> next;
    for (const QuendaNote& note : m_state.notes()) {
        if (note.id != *m_selected) {
            next = note.id;
            break;
        }
    }
    m_state.deleteNote(*m_selected);
    select(next);
}

void NoteSelection::appear()
{
    if (const auto request = m_state.noteToOpen()) {
        select(request);
        m_state.setNoteToOpen(std::nullopt);
    } else if (!m_selected) {
        select(firstID(m_state.notes()));
    }
}

void NoteSelection::leave()
{
    disconnect(&m_state, nullptr, this, nullptr);
    if (m_selected)
        dropIfBlank(*std::exchange(m_selected, std::nullopt));
    m_state.flushNotes();
}

void NoteSelection::followRequest()
{
    if (const auto request = m_state.noteToOpen()) {
        select(request);
        m_state.setNoteToOpen(std::nullopt);
    }
}

void NoteSelection::followIds()
{
    QList<QUuid> ids = idsOf(m_state.notes());
    if (ids == m_ids)
        return;
    m_ids = std::move(ids);
    if (!m_selected || !m_ids.contains(*m_selected))
        select(firstID(m_state.notes()));
}
