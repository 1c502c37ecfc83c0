// Note operations: captured text to Notes or the own store, the own notes, the Notes folders.
#include "core/state/app_state.h"

#include "core/notes/apple_notes.h"
#include "core/text/l10n.h"
#include "core/storage/note_store.h"
#include "core/base/timing.h"

#include <QPointer>

void AppState::saveNotes() {
    // NoteStore logs its own write failures; the list stays changed in memory.
    NoteStore::save(m_notes);
}

void AppState::showSavedNote(const SavedNotePreview& preview) {
    setOverlayResult(std::nullopt);
    setDictationPreview(std::nullopt);
    setNotePreview(preview);
}

NoteSaveOutcome AppState::saveToOwnStore(const QString& text, NoteSaveOutcome outcome) {
    if (const auto id = addNote(text))
        showSavedNote({text, SavedNotePreview::QuendaPlace{*id}});
    return outcome;
}

void AppState::saveCapturedText(const QString& text, QObject* context,
                                std::function<void(NoteSaveOutcome)> done) {
    const QPointer<QObject> caller(context);
    const auto reply = [caller, done = std::move(done)](const NoteSaveOutcome& outcome) {
        if (caller && done)
            done(outcome);
    };
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty()) {
        reply(NoteSaveOutcome::quenda());
        return;
    }
    const auto folder = AppleNotesFolder::decode(m_config.noteDestination);
    if (!folder) {
        reply(saveToOwnStore(trimmed, NoteSaveOutcome::quenda()));
        return;
    }
    // The state is the context: a text whose caller is gone is still saved.
    m_appleNotes.createNote(
        QuendaNote::derivedTitle(trimmed), trimmed, folder->account, folder->name, this,
        [this, trimmed, folder = *folder, reply](const AppleNotesResult<QString>& result) {
            if (!result.ok()) {
                Timing::mark(QStringLiteral("notes: Notes did not take the note (") +
                             result.error().output + QStringLiteral("); kept it here"));
                reply(saveToOwnStore(trimmed, NoteSaveOutcome::fallback()));
                return;
            }
            const QString id = result.value();
            m_appleNotes.remember(id);
            std::optional<QString> noteID;
            if (!id.isEmpty())
                noteID = id;
            showSavedNote({trimmed, SavedNotePreview::ApplePlace{folder.account, folder.name, noteID}});
            reply(NoteSaveOutcome::apple(folder.name));
        });
}

std::optional<QUuid> AppState::addNote(const QString& body, const std::optional<QString>& title) {
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
    setNotes(next);
    saveNotes();
    return note.id;
}

QUuid AppState::createNote() {
    const QDateTime now = m_clock.now();
    const QuendaNote note{QUuid::createUuid(), now, now, QString(), QString()};
    QList<QuendaNote> next = m_notes;
    next.prepend(note);
    setNotes(next);
    saveNotes();
    return note.id;
}

void AppState::updateNote(const QUuid& id, const QString& title, const QString& body) {
    const auto it =
        std::find_if(m_notes.cbegin(), m_notes.cend(), [&](const QuendaNote& n) { return n.id == id; });
    if (it == m_notes.cend() || (it->title == title && it->body == body))
        return;
    QList<QuendaNote> next = m_notes;
    QuendaNote& note = next[std::distance(m_notes.cbegin(), it)];
    note.title = title;
    note.body = body;
    note.updated = m_clock.now();
    setNotes(next);
    saveNotes();
}

void AppState::deleteNote(const QUuid& id) {
    QList<QuendaNote> next = m_notes;
    next.removeIf([&](const QuendaNote& n) { return n.id == id; });
    setNotes(next);
    saveNotes();
}

void AppState::refreshAppleNoteFolders() {
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

void AppState::openSavedNote() {
    if (!m_notePreview)
        return;
    const SavedNotePreview preview = *std::exchange(m_notePreview, std::nullopt);
    emit notePreviewChanged();
    if (const auto* own = std::get_if<SavedNotePreview::QuendaPlace>(&preview.place)) {
        setNoteToOpen(own->id);
        openMain(MainSection::Notes);
        return;
    }
    const auto& apple = std::get<SavedNotePreview::ApplePlace>(preview.place);
    m_appleNotes.reveal(apple.account, apple.folder, apple.noteID, this);
}
