#include "state_fixture.h"

#include "core/styles/app_style_catalog.h"

#include <QCoreApplication>
#include <QThreadPool>

namespace {

AppStyleProfile profile(const char* id, const char* name, const char* style, const char* suggested,
                        bool customized) {
    return {s(id), s(name), s(style), s(suggested), customized};
}

void finishRescans() {
    QThreadPool::globalInstance()->waitForDone();
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
}

} // namespace

class AppStateStyles : public StateFixture {
protected:
    AppState& stateWithProfiles(const QList<AppStyleProfile>& profiles) {
        return makeStateWith([&](QuendaConfig& c) { c.appStyles = profiles; });
    }
};

TEST_F(AppStateStyles, ANewAppIsSavedSortedWithoutTheNoticeAndOnlyOnce) {
    AppState& st = stateWithProfiles(
        {profile("b", "Beta", "auto", "auto", false), profile("z", "zeta", "auto", "auto", false)});
    st.rememberApp({s("thunderbird"), s("Thunderbird")});
    st.rememberApp({s("thunderbird"), s("Thunderbird")});
    EXPECT_EQ(m_configCalls.size(), 2); // appended, then sorted
    EXPECT_FALSE(st.settingToastVisible());
    EXPECT_EQ(st.config().appStyles.at(1), profile("thunderbird", "Thunderbird", "email", "email", false));
    EXPECT_EQ(QuendaConfig::decode(readAll(configPath()))->appStyles, st.config().appStyles);
}

TEST_F(AppStateStyles, SettingTheSameStyleTwiceWritesOnceAndTheSuggestionUndoesTheCustomisation) {
    AppState& st = stateWithProfiles({profile("slack", "Slack", "chat", "chat", false)});
    st.setAppStyle(s("slack"), s("Slack"), s("email"));
    st.setAppStyle(s("slack"), s("Slack"), s("email"));
    EXPECT_EQ(m_configCalls.size(), 1);
    EXPECT_TRUE(st.settingToastVisible());
    EXPECT_EQ(st.config().appStyles.front(), profile("slack", "Slack", "email", "chat", true));
    st.setAppStyle(s("slack"), s("Slack"), s("chat"));
    EXPECT_EQ(st.config().appStyles.front(), profile("slack", "Slack", "chat", "chat", false));
}

TEST_F(AppStateStyles, RescanRefreshesUncustomisedProfilesAndLeavesCustomisedOnesAlone) {
    writeAll(QDir(root()).filePath(s("data/applications/thunderbird.desktop")),
             "[Desktop Entry]\nType=Application\nName=Thunderbird\n");
    qputenv("XDG_DATA_HOME", QDir(root()).filePath(s("data")).toUtf8());
    qputenv("XDG_DATA_DIRS", QDir(root()).filePath(s("none")).toUtf8());
    // Installed entries come first, so their name wins over the running app's.
    m_windows.setRunning(
        {{s("thunderbird"), s("Running Name")}, {s("chatapp"), s("Slack")}, {s("mine"), s("Discord")}});
    AppState& st = stateWithProfiles({profile("chatapp", "Old Name", "email", "email", false),
                                      profile("mine", "Mine", "code", "email", true)});
    for (int scan = 0; scan < 2; ++scan) {
        st.rescanApps();
        finishRescans();
    }
    qunsetenv("XDG_DATA_HOME");
    qunsetenv("XDG_DATA_DIRS");
    EXPECT_EQ(m_configCalls.size(), 1);
    EXPECT_FALSE(st.settingToastVisible());
    EXPECT_EQ(st.config().appStyles,
              (QList<AppStyleProfile>{profile("mine", "Discord", "code", "email", true),
                                      profile("chatapp", "Slack", "chat", "chat", false),
                                      profile("thunderbird", "Thunderbird", "email", "email", false)}));
}

TEST_F(AppStateStyles, ARescanEndingAfterTheStateIsGoneIsDropped) {
    m_windows.setRunning({{s("slack"), s("Slack")}});
    makeState().rescanApps();
    AppState& next = makeState(); // replaces the first state while its scan may still run
    finishRescans();
    EXPECT_TRUE(m_configCalls.isEmpty());
    EXPECT_TRUE(next.config().appStyles.isEmpty());
}

TEST_F(AppStateStyles, FiguresOverAFixedHistory) {
    const QString hundred = s("word ").repeated(100);
    HistoryEntry clip = dictation(s("not counted at all"));
    clip.kind = HistoryEntry::clipboardKind;
    // Words, dictations today, minutes saved and words a minute.
    const QList<std::pair<QList<HistoryEntry>, std::array<double, 4>>> cases{
        // 400 words in 300 seconds: 10 minutes typed, 5 spoken.
        {{clip, dictation(hundred, 0, 75.0), dictation(hundred, 1, 75.0),
          dictation(s(" \n") + hundred, 2, 75.0), dictation(hundred, 60 * 48, 75.0)},
         {400, 3, 5.0, 80}},
        // 5 words in 120 s give 2.5 words a minute; the one-second recording is left out.
        {{dictation(s("a b c d e"), 0, 120.0), dictation(s("x y z"), 1, 1.0)}, {8, 2, 0.0, 3}},
        {{}, {0, 0, 0.0, 0}},
    };
    AppState& st = makeState();
    for (const auto& [history, expected] : cases) {
        st.setHistory(history);
        EXPECT_EQ((std::array<double, 4>{double(st.totalWords()), double(st.todayCount()), st.minutesSaved(),
                                         double(st.speakingWPM())}),
                  expected);
    }
}

TEST(AppStyleCatalog, SuggestsByBundleAndName) {
    for (const auto& [id, name, style] : {
             std::tuple{"com.todesktop.230313mzl4w4u92", "Whatever", "auto"}, // Cursor by its id
             std::tuple{"com.todesktop.other", "Whatever", "code"},
             std::tuple{"x.unlisted", "CÚRSOR", "auto"}, // Cursor by its name, case and accents folded
             std::tuple{"x.unlisted", "Cursor Beta", "code"}, std::tuple{"com.microsoft.Word", "", "notes"},
             std::tuple{"x.unlisted", "Notion Mail", "email"}, // the first category wins
             std::tuple{"x.unlisted", "Postmaster", "auto"},   // keywords are whole words
         })
        EXPECT_EQ(AppStyleCatalog::suggest(s(id), s(name)), s(style)) << id << " / " << name;
}

TEST_F(TempSupportDir, InstalledAppsFollowTheDesktopFileRules) {
    struct Case {
        const char* file; // below root()
        const char* body;
        const char* listedAs; // "id=name", or nullptr when left out
    };
    const Case cases[] = {
        {"home/org.gnome.gedit.desktop", "Type=Application\nName=Mine\n", "org.gnome.gedit=Mine"},
        {"system/org.gnome.gedit.desktop", "Type=Application\nName=Editor\n", nullptr}, // first id wins
        {"home/masked.desktop", "Type=Application\nName=Masked\nHidden=true\n", nullptr},
        {"system/masked.desktop", "Type=Application\nName=Masked\n", nullptr}, // masked by the hidden copy
        {"system/invisible.desktop", "Type=Application\nName=Invisible\nNoDisplay=true\n", nullptr},
        {"system/link.desktop", "Type=Link\nName=Web\n", nullptr},
        {"system/de.morvane.quenda.desktop", "Type=Application\nName=Quenda\n", nullptr},
        {"home/kde/konsole.desktop", "Type = Application\nName=Konsole\n", "kde-konsole=Konsole"},
        {"system/files.desktop", "Type=Application\nName=Files\nName[de]=Dateien\nName[de_AT]=Dateien AT\n",
         "files=Dateien AT"},
        {"system/calc.desktop", "Type=Application\nName=Calculator\nName[de]=Rechner\n", "calc=Rechner"},
        {"system/action.desktop",
         "Type=Application\nName=Main\n[Desktop Action new]\nName=New\nHidden=true\n", "action=Main"},
    };
    QList<FrontApp> expected;
    for (const Case& c : cases) {
        writeAll(QDir(root()).filePath(s(c.file)), QByteArray("[Desktop Entry]\n") + c.body);
        if (c.listedAs)
            expected.append({s(c.listedAs).section(u'=', 0, 0), s(c.listedAs).section(u'=', 1)});
    }
    const QLocale previous;
    QLocale::setDefault(QLocale(s("de_AT")));
    QList<FrontApp> apps =
        AppStyleCatalog::installedApps({QDir(root()).filePath(s("home")), QDir(root()).filePath(s("missing")),
                                        QDir(root()).filePath(s("system"))});
    QLocale::setDefault(previous);
    const auto byId = [](const FrontApp& a, const FrontApp& b) { return a.bundleID < b.bundleID; };
    std::sort(apps.begin(), apps.end(), byId);
    std::sort(expected.begin(), expected.end(), byId);
    EXPECT_EQ(apps, expected);
}
