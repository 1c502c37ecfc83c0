#include "state_fixture.h"

#include "core/app_style_catalog.h"
#include "core/run_mode.h"

#include <QCoreApplication>
#include <QDir>
#include <QSignalSpy>
#include <QThreadPool>

namespace {

AppStyleProfile profile(const char* id, const char* name, const char* style, const char* suggested,
                        bool customized) {
    return {s(id), s(name), s(style), s(suggested), customized};
}

} // namespace

class AppStateStyles : public StateFixture {
protected:
    AppState& stateWithProfiles(const QList<AppStyleProfile>& profiles) {
        QuendaConfig config = QuendaConfig::standard();
        config.appStyles = profiles;
        writeConfig(config);
        return makeState();
    }
};

TEST_F(AppStateStyles, EffectiveStyleUsesTheProfileOrTheCatalogueWithoutCreatingOne) {
    AppState& st = stateWithProfiles({profile("org.gnome.Evolution", "Evolution", "chat", "email", true),
                                      profile("slack", "Slack", "notes", "chat", false)});
    EXPECT_EQ(st.effectiveStyle({s("org.gnome.Evolution"), s("Evolution")}), s("chat"));
    EXPECT_EQ(st.effectiveStyle({s("slack"), s("Slack")}), s("chat"));
    EXPECT_EQ(st.effectiveStyle({s("org.kde.konsole"), s("Terminal")}), s("code"));
    EXPECT_EQ(st.config().appStyles.size(), 2);
}

TEST_F(AppStateStyles, RememberingANewAppWritesTwiceSortedAndWithoutTheNotice) {
    AppState& st = stateWithProfiles(
        {profile("b", "Beta", "auto", "auto", false), profile("z", "zeta", "auto", "auto", false)});
    st.rememberApp({s("thunderbird"), s("Thunderbird")});
    EXPECT_EQ(m_configCalls.size(), 2);
    EXPECT_FALSE(st.settingToastVisible());
    QStringList names;
    for (const auto& p : st.config().appStyles)
        names << p.name;
    EXPECT_EQ(names, (QStringList{s("Beta"), s("Thunderbird"), s("zeta")}));
    const AppStyleProfile& added = st.config().appStyles.at(1);
    EXPECT_EQ(added.style, s("email"));
    EXPECT_EQ(added.suggested, s("email"));
    EXPECT_FALSE(added.customized);
    EXPECT_TRUE(QuendaConfig::decode(readAll(configPath()))->appStyles == st.config().appStyles);
}

TEST_F(AppStateStyles, RememberingAKnownAppWritesOnlyANewName) {
    AppState& st = stateWithProfiles({profile("slack", "Slack", "chat", "chat", false)});
    st.rememberApp({s("slack"), s("Slack")});
    EXPECT_TRUE(m_configCalls.isEmpty());
    st.rememberApp({s("slack"), s("Slack Beta")});
    EXPECT_EQ(m_configCalls.size(), 1);
    EXPECT_EQ(st.config().appStyles.front().name, s("Slack Beta"));
    EXPECT_FALSE(st.settingToastVisible());
}

TEST_F(AppStateStyles, SettingTheSameStyleTwiceWritesOnceAndShowsTheNotice) {
    AppState& st = stateWithProfiles({profile("slack", "Slack", "chat", "chat", false)});
    st.setAppStyle(s("slack"), s("Slack"), s("email"));
    st.setAppStyle(s("slack"), s("Slack"), s("email"));
    EXPECT_EQ(m_configCalls.size(), 1);
    EXPECT_TRUE(st.settingToastVisible());
    EXPECT_EQ(st.config().appStyles.front(), profile("slack", "Slack", "email", "chat", true));
    st.setAppStyle(s("slack"), s("Slack"), s("chat"));
    EXPECT_EQ(st.config().appStyles.front(), profile("slack", "Slack", "chat", "chat", false));
}

TEST_F(AppStateStyles, SettingAStyleForAnUnknownAppAddsItFirst) {
    AppState& st = makeState();
    st.setAppStyle(s("obsidian"), s("Obsidian"), s("notes"));
    ASSERT_EQ(st.config().appStyles.size(), 1);
    EXPECT_EQ(st.config().appStyles.front(), profile("obsidian", "Obsidian", "notes", "notes", false));
}

TEST_F(AppStateStyles, MergeRefreshesUncustomisedProfilesAndLeavesCustomisedOnesAlone) {
    AppState& st = stateWithProfiles({profile("chatapp", "Old Name", "email", "email", false),
                                      profile("mine", "Mine", "code", "email", true)});
    EXPECT_EQ(st.effectiveStyle({s("chatapp"), s("Slack")}), s("email"));
    st.mergeInstalledApps({{s("chatapp"), s("Slack")}, {s("mine"), s("Discord")}, {s("new"), s("Alpha")}});
    EXPECT_EQ(m_configCalls.size(), 1);
    EXPECT_FALSE(st.settingToastVisible());
    const QList<AppStyleProfile> expected{profile("new", "Alpha", "auto", "auto", false),
                                          profile("mine", "Discord", "code", "email", true),
                                          profile("chatapp", "Slack", "chat", "chat", false)};
    EXPECT_EQ(st.config().appStyles, expected);
    st.mergeInstalledApps({{s("chatapp"), s("Slack")}});
    EXPECT_EQ(m_configCalls.size(), 1);
}

TEST_F(AppStateStyles, RescanMergesDesktopFilesAndRunningAppsOffTheMainThread) {
    const QString data = QDir(root()).filePath(QStringLiteral("data"));
    writeAll(QDir(data).filePath(QStringLiteral("applications/thunderbird.desktop")),
             "[Desktop Entry]\nType=Application\nName=Thunderbird\n");
    qputenv("XDG_DATA_HOME", data.toUtf8());
    qputenv("XDG_DATA_DIRS", QDir(root()).filePath(QStringLiteral("none")).toUtf8());
    m_windows.setRunning({{s("thunderbird"), s("Running Name")}, {s("slack"), s("Slack")}});
    AppState& st = makeState();
    st.rescanApps();
    QThreadPool::globalInstance()->waitForDone();
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    const QList<AppStyleProfile> expected{profile("slack", "Slack", "chat", "chat", false),
                                          profile("thunderbird", "Thunderbird", "email", "email", false)};
    EXPECT_EQ(st.config().appStyles, expected);
    qunsetenv("XDG_DATA_HOME");
    qunsetenv("XDG_DATA_DIRS");
}

TEST_F(AppStateStyles, ARescanEndingAfterTheStateIsGoneIsDropped) {
    AppState& st = makeState();
    st.rescanApps();
    makeState(); // replaces the first state while its scan may still run
    QThreadPool::globalInstance()->waitForDone();
    QCoreApplication::processEvents();
    SUCCEED();
}

TEST_F(AppStateStyles, RescanIsOffInSnapshotMode) {
    RunMode::setSnapshot(true);
    m_windows.setRunning({{s("slack"), s("Slack")}});
    AppState& st = makeState();
    const QList<AppStyleProfile> before = st.config().appStyles;
    st.rescanApps();
    QThreadPool::globalInstance()->waitForDone();
    QCoreApplication::processEvents();
    EXPECT_EQ(st.config().appStyles, before);
}

TEST_F(AppStateStyles, FiguresOverAFixedHistory) {
    AppState& st = makeState();
    EXPECT_EQ(st.totalWords(), 0);
    EXPECT_EQ(st.todayCount(), 0);
    EXPECT_EQ(st.minutesSaved(), 0.0);
    EXPECT_EQ(st.speakingWPM(), 0);

    // 400 words in 300 seconds: 10 minutes typed, 5 spoken.
    const QString hundred = QStringLiteral("word ").repeated(100);
    QList<HistoryEntry> history{dictation(hundred, 0, 75.0), dictation(hundred, 1, 75.0),
                                dictation(QStringLiteral(" \n") + hundred, 2, 75.0),
                                dictation(hundred, 60 * 48, 75.0)};
    HistoryEntry clip = dictation(QStringLiteral("not counted at all"));
    clip.kind = HistoryEntry::clipboardKind;
    history.prepend(clip);
    st.setHistory(history);
    EXPECT_EQ(st.totalWords(), 400);
    EXPECT_EQ(st.todayCount(), 3);
    EXPECT_DOUBLE_EQ(st.minutesSaved(), 5.0);
    EXPECT_EQ(st.speakingWPM(), 80);
}

TEST_F(AppStateStyles, SpeakingSpeedIgnoresRecordingsOfOneSecondOrLessAndRoundsHalvesUp) {
    AppState& st = makeState();
    // 5 words in 120 s give 2.5 words a minute.
    st.setHistory(
        {dictation(QStringLiteral("a b c d e"), 0, 120.0), dictation(QStringLiteral("x y z"), 1, 1.0)});
    EXPECT_EQ(st.speakingWPM(), 3);
    EXPECT_EQ(st.minutesSaved(), 0.0);
}

TEST_F(AppStateStyles, ModelDisplayNameFollowsTheClampedQuality) {
    struct Case {
        const char* engine;
        qint64 quality;
        const char* part;
    };
    AppState& st = makeState();
    for (const Case& c :
         {Case{"whisper", 7, "whisper-large-v3-turbo"}, Case{"whisper", -3, "whisper-tiny"},
          Case{"whistle", 9, "8"}}) {
        QuendaConfig config = st.config();
        config.asrEngine = s(c.engine);
        config.asrQuality = c.quality;
        st.setConfig(config);
        EXPECT_TRUE(st.modelDisplayName().contains(s(c.part)))
            << c.engine << c.quality << " gave " << st.modelDisplayName().toStdString();
    }
}
