#include "state_fixture.h"

#include "core/model/apple_notes_folder.h"
#include "core/storage/note_store.h"
#include "core/text/l10n.h"

class AppStateNotes : public StateFixture {
protected:
    // A state saving captured text to the destination, with both result cards showing.
    AppState& stateSavingTo(const NoteDestination& destination)
    {
        AppState& st = makeStateWith([&](QuendaConfig& c) { c.noteDestination = destination; });
        st.setOverlayResult(OverlayResult{s("summarise"), s("answer"), std::nullopt});
        st.setDictationPreview(DictationPreview{s("text"), DictationPreviewStatus::Inserted, true});
        return st;
    }
    static NoteDestination folder() { return {AppleNotesFolder{s("iCloud"), s("Work")}}; }
    std::optional<NoteSaveOutcome> save(AppState& st, const QString& text)
    {
        m_outcome.reset();
        st.saveCapturedText(text, &m_caller, [this](NoteSaveOutcome outcome) { m_outcome = outcome; });
        return m_outcome;
    }
    static bool cardsReplacedByThePreview(const AppState& st)
    {
        return !st.overlayResult() && !st.dictationPreview() && st.notePreview();
    }

    QObject m_caller;
    std::optional<NoteSaveOutcome> m_outcome;
};

TEST_F(AppStateNotes, OwnStoreKeepsTheTrimmedTextAndNothingForBlankText)
{
    AppState& st = stateSavingTo(NoteDestination::own());
    EXPECT_EQ(save(st, s(" \n\t")), NoteSaveOutcome::quenda());
    EXPECT_TRUE(st.notes().isEmpty());
    EXPECT_EQ(save(st, s("  First line\nsecond  \n")), NoteSaveOutcome::quenda());
    ASSERT_EQ(st.notes().size(), 1);
    const QuendaNote note = st.notes().front();
    EXPECT_EQ(note.body, s("First line\nsecond"));
    EXPECT_TRUE(cardsReplacedByThePreview(st));
    EXPECT_EQ(*st.notePreview(), (SavedNotePreview{note.body, SavedNotePreview::QuendaPlace{note.id}}));
    EXPECT_EQ(NoteStore::load(), st.notes());
}

TEST_F(AppStateNotes, AnOlderFolderListingFinishingLastIsDroppedAndDenialIsNamed)
{
    AppState& st = makeState();
    st.refreshAppleNoteFolders();
    st.refreshAppleNoteFolders();
    m_runner.finishNext(FakeScriptRunner::exited(0, "iCloud\tOld\n")); // the first, older listing
    EXPECT_EQ(st.appleNotesStatus(), L10n::s(s("notes.destination.loading")));
    EXPECT_TRUE(st.appleNoteFolders().isEmpty());
    m_runner.finishNext(FakeScriptRunner::exited(1, {}, "Not authorized to send Apple events (-1743)"));
    EXPECT_EQ(st.appleNotesStatus(), L10n::s(s("notes.destination.denied")));
}
