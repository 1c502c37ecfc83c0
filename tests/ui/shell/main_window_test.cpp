#include "widget_helpers.h"

#include "core/model/main_section.h"
#include "core/state/state_fixture.h"
#include "core/text/hotkey_text.h"
#include "core/text/l10n.h"
#include "platform/fake/fake_accessibility_repair.h"
#include "ui/kit/accessibility_repair_card.h"
#include "ui/kit/heading_role.h"
#include "ui/kit/key_cap.h"
#include "ui/kit/kit_label.h"
#include "ui/kit/label_button.h"
#include "ui/kit/motion.h"
#include "ui/kit/page.h"
#include "ui/kit/settings_saved_toast.h"
#include "ui/kit/status_pill.h"
#include "ui/pages/home/home_page.h"
#include "ui/shell/main_view.h"
#include "ui/shell/menu_bar_view.h"
#include "ui/shell/onboarding_view.h"
#include "ui/shell/sidebar.h"

#include <QAccessible>
#include <QPointer>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>

namespace {

class MainWindowTest : public StateFixture {
protected:
    void SetUp() override
    {
        StateFixture::SetUp();
        makeState();
    }

    void grant(bool microphone, bool accessibility)
    {
        m_probe.m_microphone = microphone;
        m_probe.m_accessibility = accessibility;
        state().refreshPermissions();
    }

    FakeAccessibilityRepair m_repair;
};

TEST_F(MainWindowTest, EachSectionChangeBuildsThePageAnew)
{
    MainView view(state(), m_commands, &m_repair);
    QPointer<QWidget> first = view.page();
    state().setSection(MainSection::History);
    QPointer<QWidget> second = view.page();
    EXPECT_NE(second, first);
    state().setSection(MainSection::Home);
    EXPECT_NE(view.page(), second);
    EXPECT_NE(qobject_cast<HomePage*>(view.page()), nullptr);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(first.isNull()); // the old pages go, once their clicks are over
    EXPECT_TRUE(second.isNull());
}

TEST_F(MainWindowTest, TheSavedToastShowsAfterARealChangeAtTheBottomCentreAndTakesNoClick)
{
    MainView view(state(), m_commands, &m_repair);
    view.resize(1000, 700);
    view.show();
    auto* toast = view.findChild<SettingsSavedToast*>();
    ASSERT_NE(toast, nullptr);
    EXPECT_FALSE(toast->isVisible());

    configure([](QuendaConfig& c) { c.historyMaxEntries = 7; });
    EXPECT_TRUE(toast->isVisible());
    m_clock.advance(1000);
    configure([](QuendaConfig& c) { c.historyMaxEntries = 8; }); // a later change keeps it up
    m_clock.advance(AppState::toastHideMs - 1);
    EXPECT_TRUE(toast->isVisible());
    const QRect shown = toast->geometry().marginsRemoved(SettingsSavedToast::shadowRoom);
    EXPECT_EQ(shown.bottom() + 1, view.height() - SettingsSavedToast::bottomGap);
    EXPECT_NE(view.childAt(shown.center()), toast); // clicks go to what lies below
    EXPECT_TRUE(toast->testAttribute(Qt::WA_TransparentForMouseEvents));
    m_clock.advance(1);
    EXPECT_FALSE(toast->isVisible());
}

// Centred under the sidebar and the page's margin, the toast never hides what a page shows, in
// the longer German words too and in the narrowest window.
TEST_F(MainWindowTest, TheSavedToastCoversNothingThePageShows)
{
    const QString tables = QStringLiteral(QUENDA_SOURCE_DIR "/resources/Languages");
    for (const char* language : {"en", "de"}) {
        L10n::install({{tables}, {QString::fromLatin1(language)}});
        MainView view(state(), m_commands, &m_repair);
        state().setSection(MainSection::Style);
        view.resize(920, 620);
        view.show();
        settle();
        configure([&](QuendaConfig& c) { c.historyMaxEntries += 1; });
        auto* toast = view.findChild<SettingsSavedToast*>();
        ASSERT_TRUE(toast && toast->isVisible()) << language;
        const QRect capsule = toast->geometry().marginsRemoved(SettingsSavedToast::shadowRoom);
        auto* page = view.page()->findChild<Page*>();
        ASSERT_NE(page, nullptr);
        const int column = page->titleLabel()->mapTo(&view, QPoint(0, 0)).x();
        EXPECT_GE(capsule.left(), 0) << language;
        EXPECT_LE(capsule.right(), column) << language;
        m_clock.advance(AppState::toastHideMs);
    }
    L10n::install({{tables}, {QStringLiteral("en")}});
}

TEST_F(MainWindowTest, TheSavedToastRisesFromTheBottomEdgeAndLeavesTheSameWayBeforeItHides)
{
    AnimationsOn animations;
    MainView view(state(), m_commands, &m_repair);
    view.resize(1000, 700);
    view.show();
    auto* toast = view.findChild<SettingsSavedToast*>();
    ASSERT_NE(toast, nullptr);

    configure([](QuendaConfig& c) { c.historyMaxEntries = 7; });
    EXPECT_TRUE(toast->isVisible());
    EXPECT_GE(toast->y(), view.height() - SettingsSavedToast::bottomGap); // still below the edge
    m_clock.advance(Motion::toastMs);
    const int rest = toast->y();
    EXPECT_LT(rest, view.height() - SettingsSavedToast::bottomGap - 20);

    m_clock.advance(AppState::toastHideMs - Motion::toastMs);
    m_clock.advance(Motion::toastMs / 4);
    EXPECT_TRUE(toast->isVisible()); // on its way down, not gone at once
    EXPECT_GT(toast->y(), rest);
    m_clock.advance(Motion::toastMs);
    EXPECT_FALSE(toast->isVisible());
}

TEST_F(MainWindowTest, TheRepairCardWaitsAfterAPressAndEndsTheWaitOnlyWithTheGrant)
{
    // Each step: what happens, then whether the waiting and granted rows show.
    struct Step {
        const char* name;
        std::function<void(AccessibilityRepairCard&)> act;
        bool waiting;
        bool granted;
    };
    const auto press = [](AccessibilityRepairCard& card) { card.button()->click(); };
    const auto setAx = [this](bool on) { return [this, on](AccessibilityRepairCard&) { grant(true, on); }; };
    // clang-format off
    const std::vector<std::vector<Step>> runs = {
        {{"Idle",            [](AccessibilityRepairCard&) {}, false, false},
         {"Pressed",         press,       true,  false},
         {"PressedAgain",    press,       true,  false},
         {"Granted",         setAx(true), false, true},
         {"LostAgain",       setAx(false), false, false}}, // idle, not waiting: the grant ended the wait
        {{"LostWhileIdle",   setAx(false), false, false},
         {"GrantedUnasked",  setAx(true), false, true},
         {"PressedGranted",  press,       false, true},
         {"Lost",            setAx(false), true, false}},  // the press after the grant waits again
    };
    // clang-format on
    for (const auto& run : runs) {
        grant(true, false);
        FakeAccessibilityRepair repair;
        AccessibilityRepairCard card(state(), repair);
        for (const Step& step : run) {
            SCOPED_TRACE(step.name);
            step.act(card);
            EXPECT_EQ(card.waitingRow()->isVisibleTo(&card), step.waiting);
            EXPECT_EQ(card.grantedRow()->isVisibleTo(&card), step.granted);
        }
    }
}

TEST_F(MainWindowTest, ARepairPressSwitchesAccessibilityOnOpensSettingsAndSaysWhatToDoWhereNoneIsKnown)
{
    for (const bool known : {true, false}) {
        grant(true, false);
        FakeAccessibilityRepair repair;
        repair.settingsKnown = known;
        AccessibilityRepairCard card(state(), repair);
        EXPECT_FALSE(card.noSettingsHint()->isVisibleTo(&card));
        card.button()->click();
        EXPECT_EQ(repair.switchOns, 1);
        EXPECT_EQ(repair.settingsOpened, 1);
        EXPECT_EQ(card.noSettingsHint()->isVisibleTo(&card), !known);
    }
}

TEST_F(MainWindowTest, HomeShowsTheRepairCardWhileTheMicrophoneIsGrantedAndAccessibilityIsNot)
{
    struct Case {
        bool microphone;
        bool accessibility;
        bool card;
    };
    // clang-format off
    const Case cases[] = {
        {.microphone = true,  .accessibility = false, .card = true},
        {.microphone = false, .accessibility = false, .card = false},
        {.microphone = true,  .accessibility = true,  .card = false},
    };
    // clang-format on
    for (const Case& c : cases) {
        grant(c.microphone, c.accessibility);
        HomePage home(state(), m_commands, &m_repair);
        EXPECT_EQ(home.repairCard() != nullptr, c.card);
    }

    grant(true, false);
    HomePage home(state(), m_commands, &m_repair);
    auto* card = qobject_cast<AccessibilityRepairCard*>(home.repairCard());
    ASSERT_NE(card, nullptr);
    card->button()->click();
    grant(true, true);
    EXPECT_EQ(home.repairCard(), nullptr);
    grant(true, false);
    card = qobject_cast<AccessibilityRepairCard*>(home.repairCard());
    ASSERT_NE(card, nullptr);
    EXPECT_FALSE(card->waiting()); // shown again, it starts idle
}

// After onboarding, home is where a user looks up which key dictates and how to stop.
// Home shows the engine's state once, in its card, and says there what Reload is for.
TEST_F(MainWindowTest, HomeShowsTheEngineOnceAndSaysWhatReloadDoes)
{
    state().setEngineStatus(s("Speech engine stopped"));
    HomePage home(state(), m_commands, &m_repair);
    EXPECT_EQ(home.findChildren<StatusPill*>().size(), 0);
    EXPECT_EQ(shownTexts(home).count(s("Speech engine stopped")), 1);
    EXPECT_TRUE(shownTexts(home).contains(L10n::s("home.reload.detail")));
    for (const LabelButton* button : home.findChildren<LabelButton*>()) {
        if (button->text() == L10n::s("home.reload")) {
            EXPECT_EQ(button->toolTip(), L10n::s("home.reload.detail"));
        }
    }
}

TEST_F(MainWindowTest, HomeNamesTheHotkeyItsDoubleTapAndEscape)
{
    for (const Hotkey hotkey : {Hotkey::RightControl, Hotkey::RightOption, Hotkey::LeftControl}) {
        configure([hotkey](QuendaConfig& c) { c.hotkey = hotkey; });
        HomePage home(state(), m_commands, &m_repair);
        const auto* guide = home.findChild<QWidget*>(QStringLiteral("hotkeyGuide"));
        ASSERT_NE(guide, nullptr);
        QStringList keys;
        for (const KeyCap* key : guide->findChildren<KeyCap*>())
            keys.append(key->label());
        const QString title = HotkeyText::title(hotkey);
        EXPECT_EQ(keys, (QStringList{title, title, L10n::s("key.escape")})) << title.toStdString();
    }
}

// Every control Tab can reach in every window has a name assistive technology can read.
TEST_F(MainWindowTest, EveryFocusableControlOfEveryWindowHasAnAccessibleName)
{
    grant(true, false);
    const auto check = [](QWidget& window, const QString& where) {
        window.resize(1000, 700);
        window.show();
        settle();
        int controls = 0;
        for (QWidget* widget : window.findChildren<QWidget*>()) {
            if (!(widget->focusPolicy() & Qt::TabFocus) || !widget->isVisibleTo(&window))
                continue;
            ++controls;
            QAccessibleInterface* face = QAccessible::queryAccessibleInterface(widget);
            ASSERT_NE(face, nullptr);
            EXPECT_FALSE(face->text(QAccessible::Name).trimmed().isEmpty())
                << where.toStdString() << ": " << widget->metaObject()->className();
        }
        EXPECT_GT(controls, 0) << where.toStdString();
    };
    MainView main(state(), m_commands, &m_repair);
    for (const MainSection section : MainSectionText::table.values()) {
        state().setSection(section);
        check(main, MainSectionText::table.text(section));
        auto* page = main.page()->findChild<Page*>();
        if (!page)
            page = qobject_cast<Page*>(main.page());
        ASSERT_NE(page, nullptr);
        QAccessibleInterface* title = QAccessible::queryAccessibleInterface(page->titleLabel());
        EXPECT_EQ(title->role(), QAccessible::Heading);
    }
    MenuBarView menu(state(), m_commands);
    check(menu, QStringLiteral("popover"));
    OnboardingView onboarding(state(), m_commands, &m_repair);
    check(onboarding, QStringLiteral("onboarding"));
}

} // namespace
