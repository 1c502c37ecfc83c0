#include "controller_fakes.h"
#include "temp_support_dir.h"
#include "test_text.h"

#include "app/shell/run_mode.h"
#include "core/base/support_paths.h"
#include "core/base/work_queue.h"
#include "core/keys/open_ai_key_store.h"
#include "core/notes/apple_notes.h"
#include "core/state/app_state.h"
#include "core/storage/history_store.h"
#include "core/storage/note_store.h"
#include "platform/fake/fake_desktop_launcher.h"
#include "platform/fake/fake_permission_probe.h"
#include "platform/fake/fake_script_runner.h"
#include "platform/fake/fake_secret_store.h"
#include "platform/fake/fake_update_feed.h"
#include "platform/fake/fake_window_system.h"
#include "platform/fake/manual_clock.h"
#include "speech/provider_key_snapshot.h"
#include "ui/kit/theme.h"
#include "update/update_checker.h"

#include <QDir>
#include <QSettings>
#include <QTest>

#include <gtest/gtest.h>

namespace {

// A user's files and stores, full, before each run.
class RunModeTest : public TempSupportDir {
protected:
    QString path(const char* name) const { return supportFile(s(name)); }
    HistoryEntry entry(const char* text) const
    {
        return {QUuid::createUuid(), m_clock.now(), s(text), s(text), {}, {}, {}, {}};
    }
    void writeUserFiles()
    {
        writeAll(path("config.json"), R"({"dictionary": "mine"})");
        writeAll(path("history.json"), HistoryStore::encode({entry("one"), entry("two"), entry("three")}));
        const QDateTime now = m_clock.now();
        writeAll(path("notes.json"),
                 *NoteStore::encode({QuendaNote{QUuid::createUuid(), now, now, s("title"), s("body")}}));
    }
    QByteArray userFiles() const
    {
        return readAll(path("config.json")) + readAll(path("history.json")) + readAll(path("notes.json"));
    }

    ManualClock m_clock;
};

struct Row {
    const char* name;
    bool snapshot;
};
const Row kRows[] = {{"ordinary run", false}, {"snapshot run", true}};

// "--snapshot" switches off every load and save of configuration, history and notes, key store
// access, output muting, dictionary learning and the update check; an ordinary run keeps them all.
TEST_F(RunModeTest, ASnapshotRunKeepsNoFileAndReachesNoStoreOutputOrLearner)
{
    for (const Row& row : kRows) {
        SCOPED_TRACE(row.name);
        writeUserFiles();
        const QByteArray before = userFiles();
        RunMode mode(row.snapshot);

        StateFiles& files = mode.files();
        EXPECT_EQ(files.loadConfig().dictionary,
                  row.snapshot ? QuendaConfig::snapshotDemo().dictionary : s("mine"));
        EXPECT_EQ(files.loadHistory().size(), row.snapshot ? 0 : 3);
        EXPECT_EQ(files.loadNotes().size(), row.snapshot ? 0 : 1);
        QuendaConfig changed = QuendaConfig::standard();
        changed.dictionary = s("changed");
        EXPECT_EQ(files.saveConfig(changed), !row.snapshot);
        files.saveHistory({entry("new")});
        EXPECT_TRUE(files.saveNotes({}));
        EXPECT_EQ(userFiles() == before, row.snapshot);

        FakeSecretStore secrets;
        EXPECT_EQ(mode.secrets(secrets), row.snapshot ? nullptr : &secrets);
        FakeSilencer silencer;
        mode.silencer(silencer).begin(OthersAudio::Mute);
        mode.silencer(silencer).end();
        EXPECT_EQ(silencer.log.isEmpty(), row.snapshot);
        FakeLearner learner;
        QObject context;
        mode.learner(learner).watch(s("Ich benutze kwenda"), &context, [](const QList<DictionaryItem>&) {});
        mode.learner(learner).stop();
        EXPECT_EQ(learner.watched.isEmpty(), row.snapshot);
        EXPECT_EQ(learner.stops == 0, row.snapshot);

        EXPECT_EQ(mode.scansApps(), !row.snapshot);
        EXPECT_EQ(mode.cardsStay(), row.snapshot);
    }
}

// Snapshot mode shows demo figures: the user's history and the network stay out of it.
TEST_F(RunModeTest, AStateBuiltForASnapshotReadsNoHistoryAndChecksForNoUpdate)
{
    for (const Row& row : kRows) {
        SCOPED_TRACE(row.name);
        writeUserFiles();
        const QByteArray stored = readAll(path("history.json"));
        RunMode mode(row.snapshot);
        FakePermissionProbe probe;
        FakeDesktopLauncher launcher;
        FakeWindowSystem windows;
        WorkQueue work;
        FakeScriptRunner runner;
        QSettings settings(QDir(root()).filePath(s("defaults.ini")), QSettings::IniFormat);
        AppleNotes appleNotes(runner, settings);
        FakeUpdateFeed feed;
        AppState st(AppState::Services{m_clock, probe, launcher, windows, work, appleNotes, mode.files(),
                                       s("1.4.0"), true, mode.scansApps()});
        UpdateChecker updates(mode.updateFeed(&feed), settings, s("1.4.0"));
        updates.check(true);
        updates.check(false);
        EXPECT_EQ(st.history().isEmpty(), row.snapshot);
        EXPECT_EQ(feed.answer(AppRelease{s("9.0.0"), QUrl(s("https://example.org/quenda-9.0.0.deb"))}),
                  !row.snapshot);
        EXPECT_EQ(updates.status() == UpdateStatus::idle(), row.snapshot);
        EXPECT_EQ(readAll(path("history.json")), stored);
    }
}

// The engine reads its keys from what the key store found; a snapshot's finds none.
TEST_F(RunModeTest, ASnapshotRunHandsTheEngineNoKeys)
{
    for (const Row& row : kRows) {
        SCOPED_TRACE(row.name);
        RunMode mode(row.snapshot);
        FakeSecretStore secrets;
        secrets.put(OpenAIKeyStore::service(), OpenAIKeyStore::openAIAccount(),
                    SecretStore::Keychain::DataProtection, "sk-g");
        QSettings settings(QDir(root()).filePath(s("defaults.ini")), QSettings::IniFormat);
        OpenAIKeyStore store(mode.secrets(secrets), settings);
        ProviderKeySnapshot keys(store);
        bool refreshed = false;
        QObject::connect(&keys, &ProviderKeySnapshot::refreshed, &keys, [&] { refreshed = true; });
        keys.refresh(QuendaConfig::standard());
        ASSERT_TRUE(QTest::qWaitFor([&] { return refreshed; }, 10'000));
        EXPECT_EQ(keys.generalKey(), row.snapshot ? QString() : s("sk-g"));
        EXPECT_EQ(secrets.calls().isEmpty(), row.snapshot);
    }
}

TEST_F(RunModeTest, ASnapshotRunLeavesTheSupportFolderAloneAndAnimatesNothing)
{
    const QString old = QDir(root()).filePath(s("Quenda"));
    const QString current = QDir(root()).filePath(s("Morvane Quenda"));
    QDir(current).removeRecursively();
    writeAll(QDir(old).filePath(s("config.json")), "{}");
    const bool animated = Theme::animated();
    Theme::setAnimated(true);

    RunMode(true).applyToProcess();
    SupportPaths::setDataRoot(root());
    EXPECT_EQ(SupportPaths::directory(), current);
    EXPECT_FALSE(QFile::exists(current));
    EXPECT_TRUE(QFile::exists(QDir(old).filePath(s("config.json"))));
    EXPECT_FALSE(Theme::animated());
    Theme::setAnimated(animated);
}

} // namespace
