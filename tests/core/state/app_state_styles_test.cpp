#include "state_fixture.h"

#include <QCoreApplication>

namespace {

AppStyleProfile profile(const char* id, const char* name, const char* style, const char* suggested,
                        bool customized)
{
    return {s(id), s(name), s(style), s(suggested), customized};
}

} // namespace

class AppStateStyles : public StateFixture {
protected:
    AppState& stateWithProfiles(const QList<AppStyleProfile>& profiles)
    {
        return makeStateWith([&](QuendaConfig& c) { c.appStyles = profiles; });
    }
    // Runs the posted scans and delivers their results.
    void finishRescans()
    {
        m_work.waitForIdle();
        QCoreApplication::processEvents();
    }
};

TEST_F(AppStateStyles, ANewAppIsSavedSortedWithoutTheNoticeAndOnlyOnce)
{
    AppState& st = stateWithProfiles(
        {profile("b", "Beta", "auto", "auto", false), profile("z", "zeta", "auto", "auto", false)});
    st.rememberApp({s("thunderbird"), s("Thunderbird")});
    st.rememberApp({s("thunderbird"), s("Thunderbird")});
    EXPECT_EQ(m_configCalls.size(), 2); // appended, then sorted
    EXPECT_FALSE(st.settingToastVisible());
    EXPECT_EQ(st.config().appStyles.at(1), profile("thunderbird", "Thunderbird", "email", "email", false));
    EXPECT_EQ(QuendaConfig::decode(readAll(configPath()))->appStyles, st.config().appStyles);
}

TEST_F(AppStateStyles, SettingTheSameStyleTwiceWritesOnceAndTheSuggestionUndoesTheCustomisation)
{
    AppState& st = stateWithProfiles({profile("slack", "Slack", "chat", "chat", false)});
    st.setAppStyle(s("slack"), s("Slack"), s("email"));
    st.setAppStyle(s("slack"), s("Slack"), s("email"));
    EXPECT_EQ(m_configCalls.size(), 1);
    EXPECT_TRUE(st.settingToastVisible());
    EXPECT_EQ(st.config().appStyles.front(), profile("slack", "Slack", "email", "chat", true));
    st.setAppStyle(s("slack"), s("Slack"), s("chat"));
    EXPECT_EQ(st.config().appStyles.front(), profile("slack", "Slack", "chat", "chat", false));
}

TEST_F(AppStateStyles, ARescanEndingAfterTheStateIsGoneIsDropped)
{
    m_windows.setRunning({{s("slack"), s("Slack")}});
    makeState().rescanApps();
    AppState& next = makeState(); // replaces the first state while its scan may still run
    finishRescans();
    EXPECT_TRUE(m_configCalls.isEmpty());
    EXPECT_TRUE(next.config().appStyles.isEmpty());
}

TEST_F(AppStateStyles, FiguresOverAFixedHistory)
{
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
