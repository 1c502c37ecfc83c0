#pragma once

#include <QString>

// Where captured text was saved as a note.
struct NoteSaveOutcome {
    enum class Kind { Apple, Quenda, Fallback, Unsaved };

    Kind kind = Kind::Quenda;
    QString folder; // the Notes folder's name, for Apple only

    // Went to the Notes application, into this folder.
    static NoteSaveOutcome apple(const QString& folder) { return {Kind::Apple, folder}; }
    // Went to the own store, the configured destination.
    static NoteSaveOutcome quenda() { return {Kind::Quenda, {}}; }
    // Notes failed and the own store took the text instead.
    static NoteSaveOutcome fallback() { return {Kind::Fallback, {}}; }
    // The own store took the text but could not write its file: the note is kept in memory only
    // and lost at quit unless a later write of the notes succeeds.
    static NoteSaveOutcome unsaved() { return {Kind::Unsaved, {}}; }

    friend bool operator==(const NoteSaveOutcome& a, const NoteSaveOutcome& b)
    {
        return a.kind == b.kind && (a.kind != Kind::Apple || a.folder == b.folder);
    }
};
