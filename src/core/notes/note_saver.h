#pragma once

#include "core/model/note_destination.h"
#include "core/model/note_save_outcome.h"
#include "core/model/saved_note_preview.h"

#include <QObject>
#include <QString>

#include <functional>

class AppleNotes;
class OwnNotes;

// Saves captured text as a note: to the Notes application when a Notes folder is the
// destination, else, or when Notes fails, to the own notes.
class NoteSaver final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(NoteSaver)

public:
    NoteSaver(AppleNotes& appleNotes, OwnNotes& ownNotes, QObject* parent = nullptr);

    // Saves the trimmed text to `destination`. done gets the outcome, at once for blank text
    // (nothing saved: quenda) and the own notes, later for Notes; it is skipped when context is
    // gone, but the text is saved all the same. When the own notes cannot write their file the
    // outcome is unsaved and no preview is shown.
    void save(const QString& text, const NoteDestination& destination, QObject* context,
              std::function<void(NoteSaveOutcome)> done);

signals:
    // A note was saved where the preview says; emitted before done runs, also for a gone caller.
    void saved(const SavedNotePreview& preview);

private:
    NoteSaveOutcome saveToOwnNotes(const QString& text, NoteSaveOutcome outcome);

    AppleNotes& m_appleNotes;
    OwnNotes& m_ownNotes;
};
