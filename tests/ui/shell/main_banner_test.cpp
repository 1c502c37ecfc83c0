#include "widget_helpers.h"

#include "core/state/state_fixture.h"
#include "core/text/l10n.h"
#include "platform/fake/fake_accessibility_repair.h"
#include "ui/kit/kit_button.h"
#include "ui/kit/kit_label.h"
#include "ui/kit/page.h"
#include "ui/shell/main_banner.h"
#include "ui/shell/main_view.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLayout>

#include <gtest/gtest.h>

#include <functional>

namespace {

using Kind = MainBanner::Kind;

std::string name(Kind kind)
{
    switch (kind) {
    case Kind::None:
        return "none";
    case Kind::Microphone:
        return "microphone";
    case Kind::Engine:
        return "engine";
    case Kind::Accessibility:
        return "accessibility";
    case Kind::Unpasted:
        return "unpasted";
    }
    return "?";
}

class MainBannerTest : public StateFixture {
public:
    void SetUp() override
    {
        StateFixture::SetUp();
        makeState();
        m_history = {dictation(s("first words")), dictation(s("older words"), 5)};
        state().setHistory(m_history);
        // Home shows some causes in its own cards; the banner's whole choice shows above other pages.
        state().setSection(MainSection::History);
        m_view = std::make_unique<MainView>(state(), m_commands, &m_repair);
        set(true, true, true);
        setEngine(true, false);
    }
    void TearDown() override
    {
        m_view.reset();
        StateFixture::TearDown();
    }

    void set(bool answered, bool microphone, bool accessibility)
    {
        m_probe.m_answered = answered;
        m_probe.m_microphone = microphone;
        m_probe.m_accessibility = accessibility;
        state().refreshPermissions();
    }
    void setEngine(bool ready, bool loading)
    {
        state().setEngineReady(ready);
        state().setEngineLoading(loading);
    }
    void markUnpasted() { state().setUnpastedDictation(state().history().first().id); }
    MainBanner& banner() const { return *m_view->banner(); }
    // The kind on show: none while the banner is out of sight, "empty" for a frame without a cause.
    static std::string shown(const MainView& view)
    {
        const MainBanner& banner = *view.banner();
        if (!banner.isVisibleTo(&view))
            return name(Kind::None);
        return banner.kind() == Kind::None ? "empty" : name(banner.kind());
    }
    std::string shown() const { return shown(*m_view); }

    FakeAccessibilityRepair m_repair;
    QList<HistoryEntry> m_history;
    std::unique_ptr<MainView> m_view;
};

TEST_F(MainBannerTest, ShowsTheMostUrgentCauseOnlyAndAboveHomeNoneOfThoseHomeShows)
{
    struct Case {
        const char* name;
        bool answered;
        bool microphone;
        bool accessibility;
        bool engineReady;
        bool engineLoading;
        bool unpasted;
        Kind expected;
        Kind onHome;
    };
    const Case cases[] = {
        // clang-format off
        {.name = "all well",                         .answered = true,  .microphone = true,  .accessibility = true,  .engineReady = true,  .engineLoading = false, .unpasted = false, .expected = Kind::None,          .onHome = Kind::None},
        {.name = "no microphone",                    .answered = true,  .microphone = false, .accessibility = true,  .engineReady = true,  .engineLoading = false, .unpasted = false, .expected = Kind::Microphone,    .onHome = Kind::None},
        {.name = "no accessibility",                 .answered = true,  .microphone = true,  .accessibility = false, .engineReady = true,  .engineLoading = false, .unpasted = false, .expected = Kind::Accessibility, .onHome = Kind::None},
        {.name = "stand-in flags before answers",    .answered = false, .microphone = false, .accessibility = false, .engineReady = true,  .engineLoading = false, .unpasted = false, .expected = Kind::None,          .onHome = Kind::None},
        {.name = "engine stopped",                   .answered = true,  .microphone = true,  .accessibility = true,  .engineReady = false, .engineLoading = false, .unpasted = false, .expected = Kind::Engine,        .onHome = Kind::None},
        {.name = "engine loading is no failure",     .answered = true,  .microphone = true,  .accessibility = true,  .engineReady = false, .engineLoading = true,  .unpasted = false, .expected = Kind::None,          .onHome = Kind::None},
        {.name = "dictation not pasted",             .answered = true,  .microphone = true,  .accessibility = true,  .engineReady = true,  .engineLoading = false, .unpasted = true,  .expected = Kind::Unpasted,      .onHome = Kind::Unpasted},
        {.name = "microphone before all",            .answered = true,  .microphone = false, .accessibility = false, .engineReady = false, .engineLoading = false, .unpasted = true,  .expected = Kind::Microphone,    .onHome = Kind::Unpasted},
        {.name = "engine before accessibility",      .answered = true,  .microphone = true,  .accessibility = false, .engineReady = false, .engineLoading = false, .unpasted = true,  .expected = Kind::Engine,        .onHome = Kind::Unpasted},
        {.name = "accessibility before the paste",   .answered = true,  .microphone = true,  .accessibility = false, .engineReady = true,  .engineLoading = false, .unpasted = true,  .expected = Kind::Accessibility, .onHome = Kind::Unpasted},
        {.name = "unanswered, the engine still",     .answered = false, .microphone = false, .accessibility = false, .engineReady = false, .engineLoading = false, .unpasted = false, .expected = Kind::Engine,        .onHome = Kind::None},
        // clang-format on
    };
    for (const MainSection section : {MainSection::History, MainSection::Home}) {
        state().setSection(section);
        const char* page = section == MainSection::Home ? ", home" : "";
        for (const Case& c : cases) {
            set(c.answered, c.microphone, c.accessibility);
            setEngine(c.engineReady, c.engineLoading);
            state().setUnpastedDictation(std::nullopt);
            if (c.unpasted)
                markUnpasted();
            const Kind expected = section == MainSection::Home ? c.onHome : c.expected;
            EXPECT_EQ(shown(), name(expected)) << c.name << page;
            // A window opened while the state holds shows the same.
            const MainView opened(state(), m_commands, &m_repair);
            EXPECT_EQ(shown(opened), name(expected)) << c.name << page << ", opened then";
        }
    }
    // Leaving home, with nothing else changing, brings up what home's cards showed.
    set(true, false, true);
    setEngine(true, false);
    state().setUnpastedDictation(std::nullopt);
    EXPECT_EQ(shown(), name(Kind::None));
    state().setSection(MainSection::History);
    EXPECT_EQ(shown(), name(Kind::Microphone));
}

// The banner stands in line with the page's column, and the page's title follows it at the page's
// spacing rather than below the room it keeps for the window's edge.
TEST_F(MainBannerTest, TheBannerLinesUpWithThePageAndTheTitleFollowsItClosely)
{
    m_view->resize(1000, 700);
    m_view->show();
    settle();
    auto* page = m_view->page()->findChild<Page*>();
    const auto titleTop = [&] { return page->titleLabel()->mapTo(m_view.get(), QPoint()).y(); };
    const int alone = titleTop();
    setEngine(false, false);
    settle();
    ASSERT_EQ(shown(), "engine");
    QWidget* frame = banner().layout()->itemAt(1)->widget();
    const QRect shape(frame->mapTo(m_view.get(), QPoint()), frame->size());
    const QRect column(page->viewport()->mapTo(m_view.get(), page->column().topLeft()),
                       page->column().size());
    EXPECT_EQ(shape.left(), column.left() + Page::padding.left());
    EXPECT_EQ(shape.right(), column.right() - Page::padding.right());
    EXPECT_EQ(titleTop() - (shape.bottom() + 1), Page::spacing);
    setEngine(true, false);
    settle();
    EXPECT_EQ(titleTop(), alone);
}

TEST_F(MainBannerTest, EachBannerGoesWhenItsCauseDoes)
{
    using Step = std::function<void(MainBannerTest&)>;
    struct Case {
        const char* name;
        Kind kind;
        Step cause;
        Step cure;
    };
    const Case cases[] = {
        {"microphone granted", Kind::Microphone, [](MainBannerTest& t) { t.set(true, false, true); },
         [](MainBannerTest& t) { t.set(true, true, true); }},
        // The first answers may read as the stand-ins did; the banner still learns they are real.
        {"microphone answered, then granted", Kind::Microphone,
         [](MainBannerTest& t) { t.set(false, false, true), t.set(true, false, true); },
         [](MainBannerTest& t) { t.set(true, true, true); }},
        {"accessibility granted", Kind::Accessibility, [](MainBannerTest& t) { t.set(true, true, false); },
         [](MainBannerTest& t) { t.set(true, true, true); }},
        {"engine answers again", Kind::Engine, [](MainBannerTest& t) { t.setEngine(false, false); },
         [](MainBannerTest& t) { t.setEngine(true, false); }},
        {"engine reloading", Kind::Engine, [](MainBannerTest& t) { t.setEngine(false, false); },
         [](MainBannerTest& t) { t.setEngine(false, true); }},
        {"entry removed", Kind::Unpasted, [](MainBannerTest& t) { t.markUnpasted(); },
         [](MainBannerTest& t) { t.state().deleteHistory(t.state().history().first().id); }},
        {"history cleared", Kind::Unpasted, [](MainBannerTest& t) { t.markUnpasted(); },
         [](MainBannerTest& t) { t.state().clearHistory(); }},
        {"copied again", Kind::Unpasted, [](MainBannerTest& t) { t.markUnpasted(); },
         [](MainBannerTest& t) { t.banner().action()->click(); }},
    };
    for (const Case& c : cases) {
        state().setHistory(m_history);
        c.cause(*this);
        EXPECT_EQ(shown(), name(c.kind)) << c.name;
        c.cure(*this);
        EXPECT_EQ(shown(), name(Kind::None)) << c.name;
    }
}

TEST_F(MainBannerTest, TheActionOfEachBannerDoesItsRepair)
{
    set(true, false, true);
    banner().action()->click();
    EXPECT_EQ(m_launcher.privacyPanes().size(), 1);

    set(true, true, false);
    m_repair.settingsKnown = false;
    EXPECT_FALSE(shownTexts(banner()).contains(L10n::s("ax.noSettings")));
    banner().action()->click();
    EXPECT_EQ(m_repair.switchOns, 1);
    EXPECT_EQ(m_repair.settingsOpened, 1);
    // No settings program to open: the banner says what to do instead.
    EXPECT_TRUE(shownTexts(banner()).contains(L10n::s("ax.noSettings")));

    set(true, true, true);
    setEngine(false, false);
    state().setEngineStatus(s("Speech engine stopped 4 times in 10 minutes"));
    EXPECT_TRUE(shownTexts(banner()).contains(s("Speech engine stopped 4 times in 10 minutes")));
    banner().action()->click();
    EXPECT_EQ(m_commands.reloads, 1);

    setEngine(true, false);
    markUnpasted();
    banner().action()->click();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), s("first words"));
}

TEST_F(MainBannerTest, TheUnpastedBannerFollowsTheNewestMarkedDictation)
{
    markUnpasted();
    EXPECT_TRUE(shownTexts(banner()).contains(s("first words")));
    state().setUnpastedDictation(state().history().at(1).id);
    EXPECT_TRUE(shownTexts(banner()).contains(s("older words")));
    EXPECT_FALSE(shownTexts(banner()).contains(s("first words")));
}

} // namespace
