#include "core/notes/note_saver.h"

#include "core/base/guarded_reply.h"
#include "core/base/timing.h"
#include "core/notes/apple_notes.h"
#include "core/notes/own_notes.h"

NoteSaver::NoteSaver(AppleNotes& appleNotes, OwnNotes& ownNotes, QObject* parent)
    : QObject(parent)
    , m_appleNotes(appleNotes)
    , m_ownNotes(ownNotes)
{
}

NoteSaveOutcome NoteSaver::saveToOwnNotes(const QString& text, NoteSaveOutcome outcome)
{
    const auto id = m_ownNotes.add(text);
    if (!id)
        return outcome;
    // "Saved" would be a lie when the file was not written: no preview, and the caller says so.
    if (m_ownNotes.unsaved()) {
        Timing::mark(QStringLiteral("notes: saving notes.json failed; the note is kept until quit"));
        return NoteSaveOutcome::unsaved();
    }
    emit saved({text, SavedNotePreview::QuendaPlace{*id}});
    return outcome;
}

void NoteSaver::save(const QString& text, const NoteDestination& destination, QObject* context,
                     std::function<void(NoteSaveOutcome)> done)
{
    const GuardedReply<NoteSaveOutcome> reply(context, std::move(done));
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty()) {
        reply(NoteSaveOutcome::quenda());
        return;
    }
    const auto& folder = destination.folder;
    if (!folder) {
        reply(saveToOwnNotes(trimmed, NoteSaveOutcome::quenda()));
        return;
    }
    // The saver is the context: a text whose caller is gone is still saved.
    m_appleNotes.createNote(
        QuendaNote::derivedTitle(trimmed), trimmed, folder->account, folder->name, this,
        [this, trimmed, folder = *folder, reply](const AppleNotesResult<QString>& result) {
            if (!result.ok()) {
                Timing::mark(QStringLiteral("notes: Notes did not take the note (") + result.error().output +
                             QStringLiteral("); kept it here"));
                reply(saveToOwnNotes(trimmed, NoteSaveOutcome::fallback()));
                return;
            }
            const QString id = result.value();
            m_appleNotes.remember(id);
            std::optional<QString> noteID;
            if (!id.isEmpty())
                noteID = id;
            emit saved({trimmed, SavedNotePreview::ApplePlace{folder.account, folder.name, noteID}});
            reply(NoteSaveOutcome::apple(folder.name));
        });
}
