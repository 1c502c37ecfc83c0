#include "state_fixture.h"

#include <QSignalSpy>

class AppStateTest : public StateFixture {
protected:
    // Writes count entries, newest first, one a minute.
    void writeHistory(int count)
    {
        QList<HistoryEntry> list;
        for (int i = 0; i < count; ++i)
            list << dictation(QStringLiteral("entry %1").arg(i), i);
        writeAll(historyPath(), HistoryStore::encode(list));
    }
    // Sets the state's configuration to a changed copy.
    void change(const std::function<void(QuendaConfig&)>& edit)
    {
        QuendaConfig next = state().config();
        edit(next);
        state().setConfig(next);
    }
};

// Each field alone is a retention change of its own; a prune that waited for both kept old
// entries on disk the user asked to have dropped. Both at once prune once.
TEST_F(AppStateTest, ChangingOnlyOneRetentionFieldPrunes)
{
    struct Case {
        const char* name;
        qint64 keepHours;
        qint64 maxEntries;
        qsizetype kept;
    };
    // The history of 600 entries starts trimmed to 500 at most, with no age limit.
    const QList<Case> cases{
        {.name = "hours only", .keepHours = 1, .maxEntries = 500, .kept = 61}, // 0 to 60 minutes old
        {.name = "entries only", .keepHours = 0, .maxEntries = 10, .kept = 10},
        {.name = "both", .keepHours = 1, .maxEntries = 10, .kept = 10},
    };
    for (const Case& c : cases) {
        writeHistory(600);
        AppState& st = makeStateWith([](QuendaConfig& config) {
            config.historyKeepHours = 0;
            config.historyMaxEntries = 500;
        });
        ASSERT_EQ(st.history().size(), 500) << c.name;
        ASSERT_EQ(storedHistory(), st.history()) << c.name;
        QSignalSpy pruned(&st, &AppState::historyChanged);
        change([&](QuendaConfig& config) {
            config.historyKeepHours = c.keepHours;
            config.historyMaxEntries = c.maxEntries;
        });
        EXPECT_EQ(pruned.count(), 1) << c.name;
        ASSERT_EQ(st.history().size(), c.kept) << c.name;
        EXPECT_EQ(st.history().back().text, QStringLiteral("entry %1").arg(c.kept - 1))
            << c.name; // newest kept
        EXPECT_EQ(storedHistory(), st.history()) << c.name;
    }
}

// A change that lived only in memory would come back, or be gone, at the next start.
TEST_F(AppStateTest, AddingOrDeletingAHistoryEntryIsWrittenToDisk)
{
    struct Case {
        const char* name;
        std::function<void(AppState&)> change;
        qsizetype size;
    };
    const QList<Case> cases{
        // clang-format off
        {.name = "add", .change = [this](AppState& st) { st.addHistory(dictation(s("new"))); }, .size = 4},
        {.name = "add past the limit", .change = [this](AppState& st) { change([](QuendaConfig& c) { c.historyMaxEntries = 3; }); st.addHistory(dictation(s("new"))); }, .size = 3},
        {.name = "delete", .change = [](AppState& st) { st.deleteHistory(st.history().at(1).id); }, .size = 2},
        // clang-format on
    };
    for (const Case& c : cases) {
        writeHistory(3);
        AppState& st = makeState();
        c.change(st);
        const QList<HistoryEntry> inMemory = st.history();
        ASSERT_EQ(inMemory.size(), c.size) << c.name;
        EXPECT_EQ(storedHistory(), inMemory) << c.name;
        EXPECT_EQ(makeState().history(), inMemory) << c.name; // as the next start reads it
    }
}

TEST_F(AppStateTest, AnObserverWritingBackLeavesTheNewestValueInTheFileAndWithTheController)
{
    AppState& st = makeState();
    QuendaConfig first = st.config(), second = first, third = first;
    second.hotkey = Hotkey::LeftControl;
    third.hotkey = Hotkey::RightCommand;
    QObject view;
    QObject::connect(&st, &AppState::configChanged, &view, [&] {
        if (st.config() == second)
            st.setConfig(third);
    });
    st.setConfig(second);
    EXPECT_EQ(st.config(), third);
    EXPECT_EQ(QuendaConfig::decode(readAll(configPath())), third);
    EXPECT_EQ(m_configCalls,
              (QList<std::pair<QuendaConfig, QuendaConfig>>{{first, second}, {second, third}}));
}

TEST_F(AppStateTest, AConfigurationWriteSavesInformsAndShowsTheNoticeOnlyWhenItShould)
{
    enum class Write { Unchanged, Changed, Suppressed, Unsaveable };
    struct Case {
        Write write;
        bool saved;
        int calls; // of the controller and of the observers each
        bool notice;
    };
    for (const Case& c :
         {Case{Write::Unchanged, false, 0, false}, Case{Write::Changed, true, 1, true},
          Case{Write::Suppressed, true, 1, false}, Case{Write::Unsaveable, false, 1, false}}) {
        QFile::remove(configPath());
        m_configCalls.clear();
        AppState& st = makeState();
        QSignalSpy observed(&st, &AppState::configChanged);
        // A folder where the file belongs makes the atomic rename fail.
        if (c.write == Write::Unsaveable) {
            ASSERT_TRUE(QDir().mkpath(configPath()));
        }
        std::optional<AppState::ToastSuppression> quiet;
        if (c.write == Write::Suppressed)
            quiet.emplace(st);
        change([&](QuendaConfig& config) { config.learnEdits = c.write == Write::Unchanged; });
        quiet.reset();
        const int row = int(c.write);
        EXPECT_EQ(QFileInfo(configPath()).isFile(), c.saved) << row;
        EXPECT_EQ(m_configCalls.size(), c.calls) << row;
        EXPECT_EQ(observed.count(), c.calls) << row;
        EXPECT_EQ(st.settingToastVisible(), c.notice) << row;
        EXPECT_EQ(logged().contains(s("saving config.json failed")), !c.saved && c.calls > 0) << row;
    }
}

TEST_F(AppStateTest, NoticeStaysUnderOneTokenUntil1700MsAfterTheLastChange)
{
    AppState& st = makeState();
    change([](QuendaConfig& c) { c.playSounds = false; });
    const QUuid token = st.settingToastToken();
    m_clock.advance(1000);
    change([](QuendaConfig& c) { c.playSounds = true; });
    EXPECT_EQ(st.settingToastToken(), token);
    m_clock.advance(1699);
    EXPECT_TRUE(st.settingToastVisible());
    m_clock.advance(1);
    EXPECT_FALSE(st.settingToastVisible());
    st.noteSettingChanged();
    EXPECT_NE(st.settingToastToken(), token);
}

TEST_F(AppStateTest, RememberClipboardSkipsBlanksAndRepeatsOfTheNewestClipboardEntry)
{
    // "@" adds a dictation of "abc" instead.
    for (const auto& [texts, clipboardEntries] :
         {std::pair{QStringList{s("abc"), s("abc")}, 1}, std::pair{QStringList{s(" \n\t ")}, 0},
          std::pair{QStringList{s("@"), s("abc"), s("abc")}, 1}}) {
        AppState& st = makeState();
        st.setHistory({});
        for (const QString& text : texts)
            text == s("@") ? st.addHistory(dictation(s("abc"))) : st.rememberClipboard(text);
        EXPECT_EQ(std::count_if(st.history().begin(), st.history().end(),
                                [](const HistoryEntry& e) { return !e.isDictation(); }),
                  clipboardEntries)
            << texts.join(s("|")).toStdString();
    }
}
