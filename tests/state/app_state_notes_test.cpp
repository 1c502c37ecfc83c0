#include "state_fixture.h"

#include "core/apple_notes_folder.h"
#include "core/l10n.h"
#include "core/note_store.h"

#include <QCoreApplication>

class AppStateNotes : public StateFixture {
protected:
    AppState& stateSavingTo(const QString& destination) {
        QuendaConfig config = QuendaConfig::standard();
        config.noteDestination = destination;
        writeConfig(config);
        AppState& st = makeState();
        st.setOverlayResult(OverlayResult{s("summarise"), s("answer"), std::nullopt});
        st.setDictationPreview(DictationPreview{s("text"), DictationPreviewStatus::Inserted, true});
        return st;
    }
    static QString folder() { return s("iCloud") + AppleNotesFolder::separator + s("Work"); }

    std::optional<NoteSaveOutcome> save(AppState& st, const QString& text) {
        m_outcome.reset();
        st.saveCapturedText(text, &m_caller, [this](NoteSaveOutcome outcome) { m_outcome = outcome; });
        return m_outcome;
    }
    void expectCardsReplacedByThePreview(AppState& st) {
        EXPECT_FALSE(st.overlayResult());
        EXPECT_FALSE(st.dictationPreview());
        EXPECT_TRUE(st.notePreview());
    }

    QObject m_caller;
    std::optional<NoteSaveOutcome> m_outcome;
};

TEST_F(AppStateNotes, BlankTextSavesNothing) {
    AppState& st = stateSavingTo(s("quenda"));
    EXPECT_EQ(save(st, s(" \n\t")), NoteSaveOutcome::quenda());
    EXPECT_TRUE(st.notes().isEmpty());
    EXPECT_FALSE(st.notePreview());
    EXPECT_TRUE(st.overlayResult());
    EXPECT_FALSE(QFile::exists(notesPath()));
    EXPECT_TRUE(m_runner.requests().isEmpty());
}

TEST_F(AppStateNotes, OwnStoreDestinationKeepsTheTrimmedTextAsNewestNote) {
    AppState& st = stateSavingTo(s("quenda"));
    const QUuid older = st.createNote();
    EXPECT_EQ(save(st, s("  First line\nsecond  \n")), NoteSaveOutcome::quenda());
    ASSERT_EQ(st.notes().size(), 2);
    const QuendaNote& note = st.notes().front();
    EXPECT_EQ(note.body, s("First line\nsecond"));
    EXPECT_EQ(note.title, QuendaNote::derivedTitle(note.body));
    EXPECT_EQ(st.notes().back().id, older);
    expectCardsReplacedByThePreview(st);
    EXPECT_EQ(*st.notePreview(), (SavedNotePreview{note.body, SavedNotePreview::QuendaPlace{note.id}}));
    EXPECT_EQ(NoteStore::load(), st.notes());
}

TEST_F(AppStateNotes, NotesBridgeOutcomes) {
    struct Case {
        const char* name;
        ScriptResult result;
        bool fellBack;
    };
    const QList<Case> cases{
        {"succeeds", FakeScriptRunner::exited(0, "x-coredata://note/p7\n"), false},
        {"script fails", FakeScriptRunner::exited(1, {}, "execution error -1743"), true},
        {"times out", FakeScriptRunner::timedOut(), true},
        {"cannot start", FakeScriptRunner::failedToStart(s("no interpreter")), true},
    };
    for (const Case& c : cases) {
        QFile::remove(notesPath());
        AppState& st = stateSavingTo(folder());
        EXPECT_FALSE(save(st, s(" Meeting notes ")));
        EXPECT_TRUE(st.notes().isEmpty()) << c.name; // nothing happens before Notes answers
        ASSERT_TRUE(m_runner.finishNext(c.result)) << c.name;
        expectCardsReplacedByThePreview(st);
        if (c.fellBack) {
            EXPECT_EQ(m_outcome, NoteSaveOutcome::fallback()) << c.name;
            ASSERT_EQ(st.notes().size(), 1) << c.name;
            EXPECT_EQ(st.notePreview()->place,
                      SavedNotePreview::Place(SavedNotePreview::QuendaPlace{st.notes()[0].id}));
        } else {
            EXPECT_EQ(m_outcome, NoteSaveOutcome::apple(s("Work"))) << c.name;
            EXPECT_TRUE(st.notes().isEmpty()) << c.name;
            EXPECT_EQ(st.notePreview()->place, SavedNotePreview::Place(SavedNotePreview::ApplePlace{
                                                   s("iCloud"), s("Work"), s("x-coredata://note/p7")}));
            EXPECT_EQ(m_appleNotes->rememberedID(), s("x-coredata://note/p7"));
        }
        EXPECT_EQ(st.notePreview()->body, s("Meeting notes")) << c.name;
    }
}

TEST_F(AppStateNotes, ANoteIsSavedEvenWhenItsCallerIsGone) {
    AppState& st = stateSavingTo(folder());
    bool told = false;
    {
        QObject caller;
        st.saveCapturedText(s("keep me"), &caller, [&](NoteSaveOutcome) { told = true; });
    }
    m_runner.finishNext(FakeScriptRunner::timedOut());
    EXPECT_FALSE(told);
    ASSERT_EQ(st.notes().size(), 1);
    EXPECT_EQ(st.notes()[0].body, s("keep me"));
}

TEST_F(AppStateNotes, AddNoteTrimsAndDerivesABlankTitle) {
    AppState& st = makeState();
    EXPECT_FALSE(st.addNote(s("  \n ")));
    const auto id = st.addNote(s(" Body text \n"), s("  "));
    ASSERT_TRUE(id);
    EXPECT_EQ(st.notes().front().title, QuendaNote::derivedTitle(s("Body text")));
    st.addNote(s("b"), s(" Title "));
    EXPECT_EQ(st.notes().front().title, s("Title"));
}

TEST_F(AppStateNotes, UpdateNoteWritesOnlyARealChangeAndKeepsThePlace) {
    AppState& st = makeState();
    const QUuid first = *st.addNote(s("one"));
    st.addNote(s("two"));
    const QDateTime created = st.notes().back().updated;
    QFile::remove(notesPath());
    st.updateNote(first, st.notes().back().title, s("one"));
    st.updateNote(QUuid::createUuid(), s("x"), s("y"));
    EXPECT_FALSE(QFile::exists(notesPath()));
    m_clock.advance(5000);
    st.updateNote(first, s(" New title "), s("one"));
    EXPECT_EQ(st.notes().back().id, first);
    EXPECT_EQ(st.notes().back().title, s(" New title "));
    EXPECT_EQ(st.notes().back().updated, created.addSecs(5));
    EXPECT_EQ(NoteStore::load(), st.notes());
}

TEST_F(AppStateNotes, DeleteNoteWritesAlsoWhenNothingMatched) {
    AppState& st = makeState();
    const QUuid id = st.createNote();
    QFile::remove(notesPath());
    st.deleteNote(QUuid::createUuid());
    EXPECT_TRUE(QFile::exists(notesPath()));
    st.deleteNote(id);
    EXPECT_TRUE(st.notes().isEmpty());
}

TEST_F(AppStateNotes, FolderListingStatuses) {
    AppState& st = makeState();
    st.refreshAppleNoteFolders();
    EXPECT_EQ(st.appleNotesStatus(), L10n::s(s("notes.destination.loading")));
    m_runner.finishNext(FakeScriptRunner::exited(0, "iCloud\tWork\niCloud\tIdeas\n"));
    EXPECT_EQ(st.appleNoteFolders().size(), 2);
    EXPECT_FALSE(st.appleNotesStatus());

    st.refreshAppleNoteFolders();
    m_runner.finishNext(FakeScriptRunner::exited(1, {}, "Not authorized to send Apple events (-1743)"));
    EXPECT_EQ(st.appleNotesStatus(), L10n::s(s("notes.destination.denied")));
    EXPECT_EQ(st.appleNoteFolders().size(), 2);

    st.refreshAppleNoteFolders();
    m_runner.finishNext(FakeScriptRunner::exited(0, ""));
    EXPECT_EQ(st.appleNotesStatus(), L10n::s(s("notes.destination.none")));
    EXPECT_TRUE(st.appleNoteFolders().isEmpty());
}

TEST_F(AppStateNotes, AnOlderListingFinishingLastDoesNotOverwriteTheNewer) {
    AppState& st = makeState();
    st.refreshAppleNoteFolders();
    st.refreshAppleNoteFolders();
    m_runner.finishNext(FakeScriptRunner::timedOut()); // the first, older listing
    EXPECT_EQ(st.appleNotesStatus(), L10n::s(s("notes.destination.loading")));
    m_runner.finishNext(FakeScriptRunner::exited(0, "iCloud\tWork\n"));
    EXPECT_FALSE(st.appleNotesStatus());
}

TEST_F(AppStateNotes, OpeningAnOwnSavedNoteOpensTheNotesPage) {
    AppState& st = stateSavingTo(s("quenda"));
    std::optional<MainSection> opened;
    st.setOpenMain([&](std::optional<MainSection> section) { opened = section; });
    st.openSavedNote();
    EXPECT_FALSE(opened);
    save(st, s("text"));
    st.openSavedNote();
    EXPECT_FALSE(st.notePreview());
    EXPECT_EQ(st.noteToOpen(), st.notes().front().id);
    EXPECT_EQ(opened, MainSection::Notes);
}

TEST_F(AppStateNotes, OpeningAnAppleNoteRevealsIt) {
    AppState& st = stateSavingTo(folder());
    save(st, s("text"));
    m_runner.finishNext(FakeScriptRunner::exited(0, "id-1"));
    st.openSavedNote();
    EXPECT_FALSE(st.notePreview());
    EXPECT_FALSE(st.noteToOpen());
    EXPECT_EQ(m_runner.requests().size(), 2);
}
