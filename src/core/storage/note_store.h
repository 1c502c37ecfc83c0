#pragma once

#include "core/model/quenda_note.h"

#include <QByteArray>
#include <QList>

#include <optional>

// The own notes in "notes.json": a JSON array in the order of the in-memory list.
namespace NoteStore {

// Missing or undecodable files give an empty list; an undecodable one is kept aside before
// the next save replaces it.
QList<QuendaNote> load();
// Writes the whole list atomically; failures go to the timing log. False when nothing was
// written.
bool save(const QList<QuendaNote>& notes);

// Pretty-printed with sorted keys; null when a note cannot be encoded.
std::optional<QByteArray> encode(const QList<QuendaNote>& notes);
// Fails as a whole when any note fails.
std::optional<QList<QuendaNote>> decode(const QByteArray& bytes);

} // namespace NoteStore
