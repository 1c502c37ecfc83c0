#include "temp_support_dir.h"
#include "test_text.h"

#include "core/notes/apple_notes.h"
#include "core/notes/note_saver.h"
#include "core/notes/own_notes.h"
#include "core/storage/note_store.h"
#include "core/storage/state_files.h"
#include "platform/fake/fake_script_runner.h"
#include "platform/fake/manual_clock.h"

#include <QDir>
#include <QFile>
#include <QSettings>

#include <memory>

namespace {

// The own notes in a temp support folder and a Notes bridge whose scripts the test finishes.
class NoteSaverTest : public TempSupportDir {
protected:
    void TearDown() override
    {
        m_saver.reset();
        m_ownNotes.reset();
        TempSupportDir::TearDown();
    }
    // Loads the own notes from the file, as the program does at start; a second call replaces both.
    NoteSaver& makeSaver()
    {
        m_saver.reset();
        m_ownNotes = std::make_unique<OwnNotes>(m_files, m_clock);
        m_saver = std::make_unique<NoteSaver>(m_appleNotes, *m_ownNotes);
        m_previews.clear();
        QObject::connect(m_saver.get(), &NoteSaver::saved, &m_caller,
                         [this](const SavedNotePreview& preview) { m_previews.append(preview); });
        return *m_saver;
    }
    // The outcome, when it came at once.
    std::optional<NoteSaveOutcome> save(const QString& text, const NoteDestination& destination)
    {
        m_outcome.reset();
        m_saver->save(text, destination, &m_caller, [this](NoteSaveOutcome outcome) { m_outcome = outcome; });
        return m_outcome;
    }
    static NoteDestination folder() { return {AppleNotesFolder{s("iCloud"), s("Work")}}; }
    QString notesFile() const { return supportFile(s("notes.json")); }

    ManualClock m_clock;
    SupportFolderFiles m_files;
    FakeScriptRunner m_runner;
    QSettings m_settings{QDir(root()).filePath(s("defaults.ini")), QSettings::IniFormat};
    AppleNotes m_appleNotes{m_runner, m_settings};
    QObject m_caller;
    std::optional<NoteSaveOutcome> m_outcome;
    QList<SavedNotePreview> m_previews;
    std::unique_ptr<OwnNotes> m_ownNotes;
    std::unique_ptr<NoteSaver> m_saver;
};

TEST_F(NoteSaverTest, NotesBridgeOutcomes)
{
    struct Case {
        const char* name;
        ScriptResult result;
        bool fellBack;
    };
    // clang-format off
    const QList<Case> cases{
        {.name = "succeeds", .result = FakeScriptRunner::exited(0, "x-coredata://note/p7\n"), .fellBack = false},
        {.name = "script fails", .result = FakeScriptRunner::exited(1, {}, "execution error -1743"), .fellBack = true},
    };
    // clang-format on
    for (const Case& c : cases) {
        QFile::remove(notesFile());
        makeSaver();
        EXPECT_FALSE(save(s(" Meeting notes "), folder())) << c.name; // nothing happens before Notes answers
        ASSERT_TRUE(m_runner.finishNext(c.result)) << c.name;
        ASSERT_EQ(m_previews.size(), 1) << c.name;
        EXPECT_EQ(m_previews.last().body, s("Meeting notes")) << c.name;
        EXPECT_EQ(m_outcome, c.fellBack ? NoteSaveOutcome::fallback() : NoteSaveOutcome::apple(s("Work")))
            << c.name;
        ASSERT_EQ(m_ownNotes->notes().size(), c.fellBack ? 1 : 0) << c.name;
        EXPECT_EQ(m_previews.last().place,
                  c.fellBack
                      ? SavedNotePreview::Place(SavedNotePreview::QuendaPlace{m_ownNotes->notes()[0].id})
                      : SavedNotePreview::Place(
                            SavedNotePreview::ApplePlace{s("iCloud"), s("Work"), s("x-coredata://note/p7")}))
            << c.name;
    }
}

TEST_F(NoteSaverTest, ANoteIsSavedEvenWhenItsCallerIsGone)
{
    NoteSaver& saver = makeSaver();
    bool told = false;
    {
        QObject caller;
        saver.save(s("keep me"), folder(), &caller, [&](NoteSaveOutcome) { told = true; });
    }
    m_runner.finishNext(FakeScriptRunner::timedOut());
    EXPECT_FALSE(told);
    ASSERT_EQ(m_ownNotes->notes().size(), 1);
    EXPECT_EQ(m_ownNotes->notes()[0].body, s("keep me"));
}

// A full disk used to be reported as saved: the preview showed, and the note was gone after quit.
TEST_F(NoteSaverTest, AnOwnNoteThatCannotBeWrittenIsReportedUnsavedAndKeptForTheNextWrite)
{
    struct Case {
        const char* name;
        NoteDestination destination;
        bool notesFails; // Notes is tried first and fails
    };
    const QList<Case> cases{
        {.name = "own notes", .destination = NoteDestination::own(), .notesFails = false},
        {.name = "Notes failed", .destination = folder(), .notesFails = true},
    };
    for (const Case& c : cases) {
        QFile::remove(notesFile()); // the previous case's file
        makeSaver();
        ASSERT_TRUE(QDir().mkpath(notesFile())) << c.name; // a folder where the file belongs
        save(s("precious"), c.destination);
        if (c.notesFails) {
            ASSERT_TRUE(m_runner.finishNext(FakeScriptRunner::timedOut())) << c.name;
        }
        EXPECT_EQ(m_outcome, NoteSaveOutcome::unsaved()) << c.name;
        EXPECT_TRUE(m_previews.isEmpty()) << c.name;
        ASSERT_EQ(m_ownNotes->notes().size(), 1) << c.name;
        EXPECT_TRUE(m_ownNotes->unsaved()) << c.name;
        EXPECT_TRUE(logged().contains(s("saving notes.json failed"))) << c.name;

        // Once the disk takes writes again, the next note carries the kept one into the file.
        ASSERT_TRUE(QDir(notesFile()).removeRecursively()) << c.name;
        EXPECT_EQ(save(s("later"), NoteDestination::own()), NoteSaveOutcome::quenda()) << c.name;
        EXPECT_FALSE(m_ownNotes->unsaved()) << c.name;
        EXPECT_EQ(NoteStore::load(), m_ownNotes->notes()) << c.name;
        EXPECT_EQ(m_ownNotes->notes().size(), 2) << c.name;
    }
}

} // namespace
