#include "state_fixture.h"

#include "core/run_mode.h"

#include <QDir>
#include <QSignalSpy>

#include <sys/stat.h>

namespace {

ino_t inode(const QString& path) {
    struct stat st {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_ino : 0;
}

QuendaConfig withLimits(qint64 keepHours, qint64 maxEntries) {
    QuendaConfig config = QuendaConfig::standard();
    config.historyKeepHours = keepHours;
    config.historyMaxEntries = maxEntries;
    return config;
}

} // namespace

class AppStateTest : public StateFixture {
protected:
    QList<HistoryEntry> entries(int count) const {
        QList<HistoryEntry> list;
        for (int i = 0; i < count; ++i)
            list << dictation(QStringLiteral("entry %1").arg(i), i);
        return list;
    }
};

TEST_F(AppStateTest, CreationTrimsAnOverlongHistoryAndRewritesItOnce) {
    writeConfig(withLimits(0, 500));
    writeHistory(entries(600));
    AppState& st = makeState();
    ASSERT_EQ(st.history().size(), 500);
    EXPECT_EQ(st.history().front().text, QStringLiteral("entry 0"));
    EXPECT_EQ(storedHistory(), st.history());
    EXPECT_TRUE(m_configCalls.isEmpty());
}

TEST_F(AppStateTest, CreationLeavesAHistoryAloneWhenEveryEntrySurvives) {
    writeConfig(withLimits(0, 500));
    writeHistory(entries(20));
    const ino_t before = inode(historyPath());
    AppState& st = makeState();
    EXPECT_EQ(st.history().size(), 20);
    EXPECT_EQ(inode(historyPath()), before);
}

TEST_F(AppStateTest, SnapshotModeReadsAndWritesNoFileAndShowsNoNotice) {
    writeHistory(entries(3));
    const QByteArray before = readAll(historyPath());
    RunMode::setSnapshot(true);
    AppState& st = makeState();
    EXPECT_TRUE(st.history().isEmpty());
    EXPECT_TRUE(st.notes().isEmpty());
    QuendaConfig next = st.config();
    next.playSounds = !next.playSounds;
    st.setConfig(next);
    st.noteSettingChanged();
    EXPECT_FALSE(st.settingToastVisible());
    st.addHistory(dictation(QStringLiteral("x")));
    EXPECT_EQ(readAll(historyPath()), before);
    EXPECT_FALSE(QFile::exists(configPath()));
}

TEST_F(AppStateTest, AnUnchangedConfigurationCostsNothing) {
    AppState& st = makeState();
    QSignalSpy changed(&st, &AppState::configChanged);
    st.setConfig(st.config());
    EXPECT_FALSE(QFile::exists(configPath()));
    EXPECT_TRUE(m_configCalls.isEmpty());
    EXPECT_FALSE(st.settingToastVisible());
    EXPECT_EQ(changed.count(), 0);
}

TEST_F(AppStateTest, AChangeSavesInformsTheControllerInOrderAndShowsTheNotice) {
    AppState& st = makeState();
    const QuendaConfig before = st.config();
    QuendaConfig next = before;
    next.hotkey = QStringLiteral("leftControl");
    st.setConfig(next);
    EXPECT_EQ(QuendaConfig::decode(readAll(configPath()))->hotkey, QStringLiteral("leftControl"));
    ASSERT_EQ(m_configCalls.size(), 1);
    EXPECT_EQ(m_configCalls[0].previous, before);
    EXPECT_EQ(m_configCalls[0].current, next);
    EXPECT_TRUE(st.settingToastVisible());
}

TEST_F(AppStateTest, AnObserverWritingBackLeavesTheNewestValueInTheFileAndWithTheController) {
    AppState& st = makeState();
    const QuendaConfig first = st.config();
    QuendaConfig second = first;
    second.hotkey = QStringLiteral("leftControl");
    QuendaConfig third = second;
    third.hotkey = QStringLiteral("rightCommand");
    QObject view;
    QObject::connect(&st, &AppState::configChanged, &view, [&] {
        if (st.config() == second)
            st.setConfig(third);
    });
    st.setConfig(second);
    EXPECT_EQ(st.config(), third);
    EXPECT_EQ(QuendaConfig::decode(readAll(configPath()))->hotkey, third.hotkey);
    ASSERT_EQ(m_configCalls.size(), 2);
    EXPECT_EQ(m_configCalls[0].current, second);
    EXPECT_EQ(m_configCalls[1].previous, second);
    EXPECT_EQ(m_configCalls[1].current, third);
}

TEST_F(AppStateTest, ChangingBothRetentionFieldsPrunesOnce) {
    writeConfig(withLimits(0, 500));
    writeHistory(entries(20));
    AppState& st = makeState();
    QSignalSpy pruned(&st, &AppState::historyChanged);
    st.setConfig(withLimits(1, 10));
    EXPECT_EQ(pruned.count(), 1);
    ASSERT_EQ(st.history().size(), 10);
    EXPECT_EQ(st.history().back().text, QStringLiteral("entry 9"));
    EXPECT_EQ(storedHistory(), st.history());
}

TEST_F(AppStateTest, ASuppressedWriteSavesAndInformsButShowsNoNotice) {
    AppState& st = makeState();
    QuendaConfig next = st.config();
    next.learnEdits = false;
    {
        const AppState::ToastSuppression quiet(st);
        EXPECT_EQ(st.settingToastSuppressed(), 1);
        st.setConfig(next);
    }
    EXPECT_EQ(st.settingToastSuppressed(), 0);
    EXPECT_FALSE(QuendaConfig::decode(readAll(configPath()))->learnEdits);
    EXPECT_EQ(m_configCalls.size(), 1);
    EXPECT_FALSE(st.settingToastVisible());
}

TEST_F(AppStateTest, AFailedSaveShowsNoSavedNotice) {
    AppState& st = makeState();
    // A folder where the file belongs makes the atomic rename fail.
    ASSERT_TRUE(QDir().mkpath(configPath()));
    QuendaConfig next = st.config();
    next.playSounds = false;
    st.setConfig(next);
    EXPECT_EQ(m_configCalls.size(), 1);
    EXPECT_FALSE(st.settingToastVisible());
}

TEST_F(AppStateTest, NoticeStaysUnderOneTokenUntil1700MsAfterTheLastChange) {
    AppState& st = makeState();
    QuendaConfig next = st.config();
    next.playSounds = false;
    st.setConfig(next);
    const QUuid token = st.settingToastToken();
    m_clock.advance(1000);
    next.playSounds = true;
    st.setConfig(next);
    EXPECT_EQ(st.settingToastToken(), token);
    m_clock.advance(1699);
    EXPECT_TRUE(st.settingToastVisible());
    m_clock.advance(1);
    EXPECT_FALSE(st.settingToastVisible());
    st.noteSettingChanged();
    EXPECT_NE(st.settingToastToken(), token);
}

TEST_F(AppStateTest, RememberClipboardSkipsBlanksAndRepeatsOfTheNewestClipboardEntry) {
    struct Case {
        const char* name;
        QStringList texts;
        int added;
    };
    const QList<Case> cases{
        {"same text twice", {QStringLiteral("abc"), QStringLiteral("abc")}, 1},
        {"trailing space differs", {QStringLiteral("abc"), QStringLiteral("abc ")}, 2},
        {"blanks only", {QStringLiteral(" \n\t ")}, 0},
        {"after a dictation",
         {QStringLiteral("@dictation"), QStringLiteral("abc"), QStringLiteral("abc")},
         1},
    };
    for (const Case& c : cases) {
        AppState& st = makeState();
        st.setHistory({});
        int dictations = 0;
        for (const QString& text : c.texts) {
            if (text == QLatin1String("@dictation")) {
                st.addHistory(dictation(QStringLiteral("abc")));
                ++dictations;
            } else {
                st.rememberClipboard(text);
            }
        }
        EXPECT_EQ(st.history().size() - dictations, c.added) << c.name;
        if (c.added > 0) {
            EXPECT_EQ(st.history().front().kind, HistoryEntry::clipboardKind) << c.name;
            EXPECT_EQ(st.history().front().raw, c.texts.back()) << c.name;
        }
    }
}

TEST_F(AppStateTest, AddHistoryWritesEvenWhenTrimmingDropsTheNewEntry) {
    writeConfig(withLimits(1, 0));
    AppState& st = makeState();
    st.addHistory(dictation(QStringLiteral("old"), 120));
    EXPECT_TRUE(st.history().isEmpty());
    EXPECT_TRUE(QFile::exists(historyPath()));
}

TEST_F(AppStateTest, DeleteHistoryKeepsTheOrderAndWritesAlsoWhenNothingMatched) {
    writeHistory(entries(3));
    AppState& st = makeState();
    const QUuid middle = st.history().at(1).id;
    QFile::remove(historyPath());
    st.deleteHistory(QUuid::createUuid());
    EXPECT_TRUE(QFile::exists(historyPath()));
    st.deleteHistory(middle);
    ASSERT_EQ(st.history().size(), 2);
    EXPECT_EQ(st.history().at(1).text, QStringLiteral("entry 2"));
    EXPECT_EQ(storedHistory(), st.history());
}

TEST_F(AppStateTest, LevelsKeepTheLast24OldestFirst) {
    AppState& st = makeState();
    for (int i = 1; i <= 30; ++i)
        st.pushLevel(i);
    ASSERT_EQ(st.levels().size(), AppState::levelCount);
    EXPECT_EQ(st.levels().front(), 7);
    EXPECT_EQ(st.levels().back(), 30);
    st.resetLevels();
    EXPECT_EQ(st.levels(), QList<double>(AppState::levelCount, 0.0));
}

TEST_F(AppStateTest, PermissionFlagsArePublishedOnlyWhenTheyChange) {
    AppState& st = makeState();
    QSignalSpy mic(&st, &AppState::micGrantedChanged);
    QSignalSpy ax(&st, &AppState::axGrantedChanged);
    m_probe.setMicrophone(true);
    st.refreshPermissions();
    st.refreshPermissions();
    EXPECT_TRUE(st.micGranted());
    EXPECT_FALSE(st.axGranted());
    EXPECT_EQ(mic.count(), 1);
    EXPECT_EQ(ax.count(), 0);
}

TEST_F(AppStateTest, RequestingTheMicrophoneOpensTheSettingsPage) {
    AppState& st = makeState();
    st.requestMicrophone();
    EXPECT_FALSE(m_launcher.attempts().isEmpty());
}

TEST_F(AppStateTest, EngineStateIsReadyWhileAlsoLoading) {
    AppState& st = makeState();
    st.setEngineReady(true);
    EXPECT_TRUE(st.engineLoading());
    EXPECT_EQ(st.engineState(), EngineState::Ready);
}

TEST_F(AppStateTest, UnsetClosuresDoNothing) {
    AppState& st = makeState();
    st.toggleRecording();
    st.openMain(MainSection::Notes);
    st.translateSelection(QStringLiteral("de"));
    st.applyOverlayChoice({});
}

TEST(MainSectionText, RawValuesRoundTripAndNothingElseParses) {
    for (const MainSection section : MainSectionText::all())
        EXPECT_EQ(MainSectionText::fromRaw(MainSectionText::rawValue(section)), section);
    EXPECT_EQ(MainSectionText::all().size(), 7);
    for (const char* raw : {"Home", "", "home ", "nav.home"})
        EXPECT_FALSE(MainSectionText::fromRaw(QString::fromUtf8(raw))) << raw;
}
