// Note operations, handed to NoteSaver and OwnNotes; the Notes folders and revealing a saved note.
#include "core/state/app_state.h"

#include "core/notes/apple_notes.h"
#include "core/notes/note_saver.h"
#include "core/notes/own_notes.h"
#include "core/text/l10n.h"

const QList<QuendaNote>& AppState::notes() const
{
    return m_ownNotes->notes();
}

bool AppState::notesUnsaved() const
{
    return m_ownNotes->unsaved();
}

bool AppState::notesBridge() const
{
    return m_appleNotes.available();
}

void AppState::showSavedNote(const SavedNotePreview& preview)
{
    setOverlayResult(std::nullopt);
    setDictationPreview(std::nullopt);
    setNotePreview(preview);
}

void AppState::saveCapturedText(const QString& text, QObject* context,
                                std::function<void(NoteSaveOutcome)> done)
{
    m_noteSaver->save(text, m_config.noteDestination, context, std::move(done));
}

std::optional<QUuid> AppState::addNote(const QString& body, const std::optional<QString>& title)
{
    return m_ownNotes->add(body, title);
}

QUuid AppState::createNote()
{
    return m_ownNotes->create();
}

void AppState::updateNote(const QUuid& id, const QString& title, const QString& body)
{
    m_ownNotes->update(id, title, body);
}

void AppState::deleteNote(const QUuid& id)
{
    m_ownNotes->remove(id);
}

void AppState::flushNotes()
{
    m_ownNotes->flush();
}

void AppState::refreshAppleNoteFolders()
{
    setAppleNotesStatus(L10n::s(QStringLiteral("notes.destination.loading")));
    // A slow, older listing must not overwrite what a newer one found.
    const quint64 listing = ++m_folderListing;
    m_appleNotes.folders(this, [this, listing](const AppleNotesResult<QList<AppleNotesFolder>>& result) {
        if (listing != m_folderListing)
            return;
        if (!result.ok()) {
            setAppleNotesStatus(L10n::s(result.error().denied()
                                            ? QStringLiteral("notes.destination.denied")
                                            : QStringLiteral("notes.destination.failed")));
            return;
        }
        setAppleNoteFolders(result.value());
        if (result.value().isEmpty())
            setAppleNotesStatus(L10n::s(QStringLiteral("notes.destination.none")));
        else
            setAppleNotesStatus(std::nullopt);
    });
}

bool AppState::openSavedNote()
{
    if (!m_notePreview)
        return false;
    const SavedNotePreview preview = *std::exchange(m_notePreview, std::nullopt);
    emit notePreviewChanged();
    if (const auto* own = std::get_if<SavedNotePreview::QuendaPlace>(&preview.place)) {
        setNoteToOpen(own->id);
        return true;
    }
    const auto& apple = std::get<SavedNotePreview::ApplePlace>(preview.place);
    m_appleNotes.reveal(apple.account, apple.folder, apple.noteID, this);
    return false;
}
