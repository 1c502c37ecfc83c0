#pragma once

#include "core/model/apple_notes_folder.h"

#include <QString>

#include <optional>

// Where text saved by a spoken note command goes: the own notes, or a folder of the Notes
// application. Stored as "quenda" or as the folder's stored form.
struct NoteDestination {
    std::optional<AppleNotesFolder> folder; // none: the own notes

    static NoteDestination own() { return {}; }
    // Exactly "quenda" or a folder's stored form; any other text is none.
    static std::optional<NoteDestination> decode(const QString& stored);
    QString text() const;

    friend bool operator==(const NoteDestination&, const NoteDestination&) = default;
};
