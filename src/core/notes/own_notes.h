#pragma once

#include "core/model/quenda_note.h"
#include "core/notes/notes_write_behind.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QUuid>

#include <optional>

class Clock;
class StateFiles;

// The own notes, newest first; every change is written to the files at once. An edit of a note is
// written behind on a worker, newest edit first; every other change, flush() and the end of the
// store wait until the file holds the list.
class OwnNotes final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(OwnNotes)

public:
    OwnNotes(StateFiles& files, Clock& clock, QObject* parent = nullptr);
    ~OwnNotes() override;

    const QList<QuendaNote>& notes() const { return m_notes; }
    // The new note's id; absent when the body is blank. A blank title is derived from the body.
    std::optional<QUuid> add(const QString& body, const std::optional<QString>& title = std::nullopt);
    // An empty note for the notes page to fill.
    QUuid create();
    // Moves the note's updated date; an unknown id or an identical text changes and writes nothing.
    void update(const QUuid& id, const QString& title, const QString& body);
    void remove(const QUuid& id);
    // Waits until the file holds the list (or its write failed).
    void flush();
    // The last write failed: the list holds changes the file does not, lost at quit unless a
    // later write succeeds. Never true with files that keep nothing by design.
    bool unsaved() const { return m_unsaved; }

signals:
    // The list or unsaved() changed.
    void changed();

private:
    void replace(const QList<QuendaNote>& notes, bool wait);
    void takeOutcome(bool ok);

    StateFiles& m_files;
    Clock& m_clock;
    QList<QuendaNote> m_notes;
    bool m_unsaved = false;
    // Last: it is stopped first, writing what is left.
    NotesWriteBehind m_writer;
};
