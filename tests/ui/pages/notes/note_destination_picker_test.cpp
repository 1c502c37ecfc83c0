#include "notes_fixture.h"

#include "ui/kit/kit_label.h"
#include "ui/pages/notes/note_destination_picker.h"

#include <QComboBox>

#include <gtest/gtest.h>

namespace {

class NoteDestinationPickerTest : public NotesFixture {
protected:
    static QString folder(const char* account, const char* name)
    {
        return AppleNotesFolder{QString::fromUtf8(account), QString::fromUtf8(name)}.id();
    }
    // The menu's tags joined by ",", folders written account/name.
    static QString tags(const QList<NoteDestinationPicker::Entry>& entries)
    {
        QStringList out;
        for (const auto& entry : entries)
            out << QString(entry.tag).replace(AppleNotesFolder::separator, QLatin1Char('/'));
        return out.join(QLatin1Char(','));
    }
    void listFolders(const QByteArray& lines)
    {
        ASSERT_TRUE(m_runner.finishNext(FakeScriptRunner::exited(0, lines)));
    }
};

TEST_F(NoteDestinationPickerTest, EntriesStatusAndListingWithAndWithoutANotesApplication)
{
    struct Row {
        const char* name;
        bool bridge;
        const char* stored;  // the configured destination, account/name for a folder; "" for a fresh one
        const char* listed;  // the listing's answer, "" when none is answered
        const char* tags;    // the menu after the listing
        const char* current; // the tag the menu shows
        int listings;        // listings started by showing the picker
        const char* status;
    };
    // clang-format off
    const Row rows[] = {
        {.name = "own store, never listed",        .bridge = true,  .stored = "quenda",     .listed = "",                                   .tags = "quenda,__apple__",                           .current = "quenda",     .listings = 0, .status = ""},
        {.name = "stored folder, listing runs",    .bridge = true,  .stored = "iCloud/Notes", .listed = "",                                  .tags = "quenda,iCloud/Notes,__apple__",              .current = "iCloud/Notes", .listings = 1, .status = "Loading folders…"},
        {.name = "stored folder among the listed", .bridge = true,  .stored = "iCloud/Notes", .listed = "iCloud\tNotes\nWork\tNotes\n",      .tags = "quenda,iCloud/Notes,Work/Notes,__apple__",   .current = "iCloud/Notes", .listings = 1, .status = ""},
        {.name = "stored folder no longer listed", .bridge = true,  .stored = "Old/Ideas",  .listed = "iCloud\tNotes\n",                    .tags = "quenda,Old/Ideas,iCloud/Notes,__apple__",     .current = "Old/Ideas",  .listings = 1, .status = ""},
        {.name = "a listing with no folders",      .bridge = true,  .stored = "iCloud/Notes", .listed = "\n",                                .tags = "quenda,iCloud/Notes,__apple__",              .current = "iCloud/Notes", .listings = 1, .status = "No folders found."},
        {.name = "no Notes: own store",            .bridge = false, .stored = "quenda",     .listed = "",                                   .tags = "quenda",                                     .current = "quenda",     .listings = 0, .status = "There is no Notes app on this system, so notes are saved in Quenda's notes."},
        {.name = "no Notes: fresh configuration",  .bridge = false, .stored = "",           .listed = "",                                   .tags = "quenda",                                     .current = "quenda",     .listings = 0, .status = "There is no Notes app on this system, so notes are saved in Quenda's notes."},
        {.name = "no Notes: stored folder kept",   .bridge = false, .stored = "Work/Ideas", .listed = "",                                   .tags = "quenda",                                     .current = "quenda",     .listings = 0, .status = "There is no Notes app on this system, so notes are saved in Quenda's notes."},
    };
    // clang-format on
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const auto stored = NoteDestination::decode(
            QString::fromUtf8(row.stored).replace(QLatin1Char('/'), AppleNotesFolder::separator));
        const qsizetype before = m_runner.requests().size();
        makeNotesState({}, row.bridge,
                       [&](QuendaConfig& c) { c.noteDestination = stored.value_or(c.noteDestination); });
        NoteDestinationPicker picker(notesState());
        picker.show();
        EXPECT_EQ(m_runner.requests().size() - before, row.listings);
        if (*row.listed)
            listFolders(QByteArray(row.listed));
        EXPECT_EQ(tags(NoteDestinationPicker::entries(notesState())), QString::fromUtf8(row.tags));
        EXPECT_EQ(picker.menu()->count(), NoteDestinationPicker::entries(notesState()).size());
        EXPECT_EQ(QString(picker.menu()->currentData().toString())
                      .replace(AppleNotesFolder::separator, QLatin1Char('/')),
                  QString::fromUtf8(row.current));
        EXPECT_EQ(picker.statusLabel()->isVisible() ? picker.statusLabel()->text() : QString(),
                  QString::fromUtf8(row.status));
        // Showing stores nothing; the fresh configuration's destination is a Notes folder.
        EXPECT_EQ(notesState().config().noteDestination,
                  stored.value_or(QuendaConfig::standard().noteDestination));
        while (m_runner.finishNext(FakeScriptRunner::exited(0, {})))
            ;
    }
}

TEST_F(NoteDestinationPickerTest, OnlyAChoiceOfTheUserStoresAndTheListEntryIsNeverStored)
{
    makeNotesState({}, true, [](QuendaConfig& c) { c.noteDestination = NoteDestination::own(); });
    NoteDestinationPicker picker(notesState());
    picker.show();
    ASSERT_TRUE(m_runner.requests().isEmpty());
    QComboBox& menu = *picker.menu();

    menu.setCurrentIndex(menu.findData(NoteDestinationPicker::pickTag())); // not a user's choice
    EXPECT_TRUE(m_runner.requests().isEmpty());

    const int pick = menu.findData(NoteDestinationPicker::pickTag());
    emit menu.activated(pick);
    EXPECT_EQ(m_runner.requests().size(), 1);
    EXPECT_EQ(notesState().config().noteDestination, NoteDestination::own());
    EXPECT_EQ(menu.currentData().toString(), s("quenda"));
    EXPECT_EQ(picker.statusLabel()->text(), s("Loading folders…"));
    listFolders("iCloud\tNotes\nWork\tNotes\n");
    EXPECT_FALSE(picker.statusLabel()->isVisible());

    const int work = menu.findData(folder("Work", "Notes"));
    ASSERT_GE(work, 0);
    EXPECT_EQ(menu.itemText(work), s("Notes · Work"));
    emit menu.activated(work);
    EXPECT_EQ(notesState().config().noteDestination.text(), folder("Work", "Notes"));
    EXPECT_EQ(menu.currentData().toString(), folder("Work", "Notes"));
}

} // namespace
