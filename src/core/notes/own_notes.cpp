#include "core/notes/own_notes.h"

#include "core/base/clock.h"
#include "core/storage/state_files.h"

#include <algorithm>
#include <utility>

OwnNotes::OwnNotes(StateFiles& files, Clock& clock, QObject* parent)
    : QObject(parent)
    , m_files(files)
    , m_clock(clock)
    , m_notes(files.loadNotes())
    , m_writer([&files](const QList<QuendaNote>& notes) { return files.saveNotes(notes); }, this,
               [this] { takeOutcome(m_writer.lastOk()); })
{
}

OwnNotes::~OwnNotes() = default;

void OwnNotes::flush()
{
    takeOutcome(m_writer.flush());
}

void OwnNotes::takeOutcome(bool ok)
{
    if (std::exchange(m_unsaved, !ok) != m_unsaved)
        emit changed();
}

std::optional<QUuid> OwnNotes::add(const QString& body, const std::optional<QString>& title)
{
    const QString trimmedBody = body.trimmed();
    if (trimmedBody.isEmpty())
        return std::nullopt;
    QString noteTitle = title.value_or(QString()).trimmed();
    if (noteTitle.isEmpty())
        noteTitle = QuendaNote::derivedTitle(trimmedBody);
    const QDateTime now = m_clock.now();
    const QuendaNote note{QUuid::createUuid(), now, now, noteTitle, trimmedBody};
    QList<QuendaNote> next = m_notes;
    next.prepend(note);
    replace(next, true);
    return note.id;
}

QUuid OwnNotes::create()
{
    const QDateTime now = m_clock.now();
    const QuendaNote note{QUuid::createUuid(), now, now, QString(), QString()};
    QList<QuendaNote> next = m_notes;
    next.prepend(note);
    replace(next, true);
    return note.id;
}

void OwnNotes::update(const QUuid& id, const QString& title, const QString& body)
{
    const auto it =
        std::find_if(m_notes.cbegin(), m_notes.cend(), [&](const QuendaNote& n) { return n.id == id; });
    if (it == m_notes.cend() || (it->title == title && it->body == body))
        return;
    QList<QuendaNote> next = m_notes;
    QuendaNote& note = next[std::distance(m_notes.cbegin(), it)];
    note.title = title;
    note.body = body;
    note.updated = m_clock.now();
    replace(next, false);
}

void OwnNotes::remove(const QUuid& id)
{
    QList<QuendaNote> next = m_notes;
    next.removeIf([&](const QuendaNote& n) { return n.id == id; });
    replace(next, true);
}

void OwnNotes::replace(const QList<QuendaNote>& notes, bool wait)
{
    const bool different = notes != m_notes;
    m_notes = notes;
    // The files log their own write failures; the list stays changed in memory.
    m_writer.post(m_notes);
    if (different)
        emit changed();
    if (wait)
        flush();
}
