#include "test_text.h"

#include "core/model/hotkey_routes.h"
#include "core/model/main_section.h"
#include "core/state/state_fixture.h"
#include "core/text/l10n.h"
#include "ui/kit/kit_button.h"
#include "ui/pages/home/hotkey_route_notice.h"
#include "ui/pages/page_table.h"
#include "ui/shell/main_view.h"
#include "ui/shell/menu_bar_view.h"
#include "ui/shell/onboarding_view.h"
#include "ui/shell/shell_window_host.h"
#include "ui/shell/sidebar.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QCoreApplication>
#include <QLabel>
#include <QSignalSpy>

#include <gtest/gtest.h>

class ShellViewsTest : public StateFixture {
protected:
    void SetUp() override
    {
        StateFixture::SetUp();
        makeState();
    }
};

// To assistive tools the entries are page tabs: the default action opens the page as a click does,
// and only the shown page's entry is selected.
TEST_F(ShellViewsTest, TheMainViewShowsThePageTheStateNamesAndTheSidebarSetsIt)
{
    MainView view(state());
    const auto tab = [&view](MainSection section) {
        return QAccessible::queryAccessibleInterface(view.sidebar()->entry(section));
    };
    const auto onlySelected = [&tab, &view](MainSection shown) {
        for (const MainSection section : MainSectionText::table.values()) {
            ASSERT_NE(tab(section), nullptr)
                << "no entry for " << MainSectionText::table.text(section).toStdString();
            EXPECT_EQ(tab(section)->state().selected, section == shown);
            EXPECT_EQ(view.sidebar()->entry(section)->chosen(), section == shown); // its fill too
        }
    };
    state().setSection(MainSection::Dictionary);
    EXPECT_EQ(view.currentPage(), PageTable::indexOf(MainSection::Dictionary));
    onlySelected(MainSection::Dictionary);

    view.sidebar()->entry(MainSection::Notes)->click();
    EXPECT_EQ(state().section(), MainSection::Notes);
    view.sidebar()->entry(MainSection::Notes)->click(); // the shown page's entry stays chosen
    onlySelected(MainSection::Notes);
    EXPECT_EQ(view.currentPage(), PageTable::indexOf(MainSection::Notes));

    QAccessibleInterface* style = tab(MainSection::Style);
    EXPECT_EQ(style->role(), QAccessible::PageTab);
    QAccessibleActionInterface* actions = style->actionInterface();
    ASSERT_NE(actions, nullptr);
    actions->doAction(actions->actionNames().value(0));
    EXPECT_EQ(state().section(), MainSection::Style);
    onlySelected(MainSection::Style);
}

TEST_F(ShellViewsTest, OnboardingsDoneButtonEndsOnboardingThroughTheStatesClosure)
{
    int finished = 0;
    state().setFinishOnboarding([&] { ++finished; });
    OnboardingView view(state());
    auto* done = view.findChild<QAbstractButton*>(QStringLiteral("onboardingDone"));
    ASSERT_NE(done, nullptr);
    done->click();
    EXPECT_EQ(finished, 1);
}

TEST_F(ShellViewsTest, ClosingTheOnboardingWindowIsReportedOnceAndForgetsIt)
{
    ShellWindowHost host(state(), m_settings);
    QSignalSpy closed(&host, &ShellWindows::onboardingClosed);
    host.showOnboarding();
    ASSERT_NE(host.onboardingWindow(), nullptr);
    host.closeOnboarding();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(closed.count(), 1);
    EXPECT_EQ(host.onboardingWindow(), nullptr);
    host.closeOnboarding();
    EXPECT_EQ(closed.count(), 1);
}

TEST_F(ShellViewsTest, TheMainWindowIsMadeOnceWhileOpenReleasedWhenClosedAndKeepsItsFrame)
{
    QRect frame;
    {
        ShellWindowHost host(state(), m_settings);
        host.showMain();
        QWidget* first = host.mainWindow();
        first->setGeometry(40, 50, 930, 640);
        frame = first->geometry();
        host.showMain();
        EXPECT_EQ(host.mainWindow(), first);
        first->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_EQ(host.mainWindow(), nullptr);
        host.showMain();
        EXPECT_EQ(host.mainWindow()->geometry().size(), frame.size());
        host.mainWindow()->close();
    }
    ShellWindowHost next(state(), m_settings);
    next.showMain();
    EXPECT_EQ(next.mainWindow()->geometry().size(), frame.size());
}

// Home, onboarding and the menu say what the session asks of the user and what does not work there.
TEST_F(ShellViewsTest, HomeOnboardingAndTheMenuSayWhatTheSessionNeedsAndLacks)
{
    const auto text = [](const char* key) { return L10n::s(QString::fromUtf8(key)); };
    const QString portal = text("session.needs.portalApproval");
    const QString panel = text("session.gap.panel");
    const QString keys = text("session.gap.keys");
    // clang-format off
    const struct { const char* what; SessionRoutes routes; QString shown; } rows[] = {
        {"X11",               {},                                                                                                             {}},
        {"sway",              {.wayland = true, .keys = KeyRoute::VirtualKeyboard, .clipboard = ClipboardRoute::DataControl},                 {}},
        {"portal, no widget", {.wayland = true, .keys = KeyRoute::RemoteDesktopPortal, .clipboard = ClipboardRoute::DataControl, .panel = PanelRoute::Hidden}, portal + u'\n' + panel},
        {"no keys",           {.wayland = true, .keys = KeyRoute::Unavailable, .clipboard = ClipboardRoute::DataControl},                     keys},
    };
    // clang-format on
    for (const auto& row : rows) {
        state().setSessionRoutes({});
        MainView main(state());
        OnboardingView onboarding(state());
        MenuBarView menu(state());
        // Views built before the root sets the routes follow them.
        state().setSessionRoutes(row.routes);
        for (QWidget* view : {static_cast<QWidget*>(&main), static_cast<QWidget*>(&onboarding),
                              static_cast<QWidget*>(&menu)}) {
            auto* notice = view->findChild<QLabel*>(QStringLiteral("sessionRoutesNotice"));
            ASSERT_NE(notice, nullptr) << row.what;
            EXPECT_EQ(notice->isVisibleTo(view), !row.shown.isEmpty())
                << row.what << " " << view->metaObject()->className();
            EXPECT_EQ(notice->text(), row.shown) << row.what;
            // Where the lines sit in a card, no empty card stays behind.
            if (QWidget* card = notice->parentWidget(); card != view) {
                EXPECT_EQ(card->isVisibleTo(view), !row.shown.isEmpty()) << row.what;
            }
        }
    }
}
namespace {

// The texts a view shows under the hotkey route's notice, joined; empty when it is hidden.
QString routeNoticeText(QWidget& view)
{
    auto* notice = view.findChild<QWidget*>(QStringLiteral("hotkeyRouteNotice"));
    if (!notice || !notice->isVisibleTo(&view))
        return {};
    QStringList texts;
    for (const QLabel* label : notice->findChildren<QLabel*>())
        texts << label->text();
    return texts.join(u'\n');
}

} // namespace

// Views built before the route changes follow it: a route that fails at run time is replaced.
TEST_F(ShellViewsTest, HomeAndOnboardingNameTheHotkeyRouteWhatFailedAndHowToGetTheBestOne)
{
    using R = HotkeyRoute;
    const QStringList keys{s("hotkeyRoute.evdev"),         s("hotkeyRoute.kglobalaccel"),
                           s("hotkeyRoute.portal"),        s("hotkeyRoute.commandLine"),
                           s("hotkeyRoute.ownWindows"),    s("hotkeyRoute.failed.kglobalaccel"),
                           s("hotkeyRoute.failed.portal"), s("hotkeyRoute.best")};
    for (const QString& key : keys)
        ASSERT_NE(L10n::s(key), key);
    // clang-format off
    const struct { const char* what; HotkeyRouteStatus status; QStringList says; bool binding; } rows[] = {
        {"X11",                     {},                                                          {},                                                                                                 false},
        {"keyboards",               {.route = R::Evdev},                                         {s("hotkeyRoute.evdev")},                                                                           false},
        {"KDE",                     {.route = R::KGlobalAccel},                                  {s("hotkeyRoute.kglobalaccel"), s("hotkeyRoute.best")},                                             false},
        {"portal",                  {.route = R::Portal},                                        {s("hotkeyRoute.portal"), s("hotkeyRoute.best")},                                                   false},
        {"sway",                    {.route = R::CommandLine},                                   {s("hotkeyRoute.commandLine"), s("hotkeyRoute.best")},                                              true},
        {"GNOME 43",                {.route = R::OwnWindows},                                    {s("hotkeyRoute.ownWindows"), s("hotkeyRoute.best")},                                               false},
        {"sway, portal failed",     {.route = R::CommandLine, .failed = {R::Portal}},            {s("hotkeyRoute.failed.portal"), s("hotkeyRoute.commandLine"), s("hotkeyRoute.best")},              true},
        {"KDE, both failed",        {.route = R::OwnWindows, .failed = {R::KGlobalAccel, R::Portal}}, {s("hotkeyRoute.failed.kglobalaccel"), s("hotkeyRoute.failed.portal"), s("hotkeyRoute.ownWindows"), s("hotkeyRoute.best")}, false},
    };
    // clang-format on
    QuendaConfig config = state().config();
    config.hotkey = Hotkey::LeftControl;
    state().setConfig(config);
    for (const auto& row : rows) {
        state().setHotkeyRoute({.route = R::Portal});
        MainView main(state());
        OnboardingView onboarding(state());
        state().setHotkeyRoute(row.status);
        for (QWidget* view : {static_cast<QWidget*>(&main), static_cast<QWidget*>(&onboarding)}) {
            const QString text = routeNoticeText(*view);
            const std::string where = std::string(view->metaObject()->className()) + " " + row.what;
            for (const QString& key : keys)
                EXPECT_EQ(text.contains(L10n::s(key)), row.says.contains(key))
                    << where << " " << key.toStdString();
            EXPECT_EQ(text.contains(HotkeyRouteNotice::swayBinding(Hotkey::LeftControl)), row.binding)
                << where;
        }
    }
}

TEST(HotkeyRouteNotice, TheBindingsNameTheConfiguredKeyByItsKeycode)
{
    // clang-format off
    const struct { Hotkey hotkey; const char* sway; const char* hyprland; } rows[] = {
        {Hotkey::RightControl, "bindcode --no-repeat 105 exec quenda --hotkey press\nbindcode --release 105 exec quenda --hotkey release", "bind = , code:105, exec, quenda --hotkey press\nbindr = CTRL, code:105, exec, quenda --hotkey release"},
        {Hotkey::Function,     "bindcode --no-repeat 105 exec quenda --hotkey press\nbindcode --release 105 exec quenda --hotkey release", "bind = , code:105, exec, quenda --hotkey press\nbindr = CTRL, code:105, exec, quenda --hotkey release"},
        {Hotkey::LeftControl,  "bindcode --no-repeat 37 exec quenda --hotkey press\nbindcode --release 37 exec quenda --hotkey release",   "bind = , code:37, exec, quenda --hotkey press\nbindr = CTRL, code:37, exec, quenda --hotkey release"},
        {Hotkey::RightOption,  "bindcode --no-repeat 108 exec quenda --hotkey press\nbindcode --release 108 exec quenda --hotkey release", "bind = , code:108, exec, quenda --hotkey press\nbindr = ALT, code:108, exec, quenda --hotkey release"},
        {Hotkey::RightCommand, "bindcode --no-repeat 134 exec quenda --hotkey press\nbindcode --release 134 exec quenda --hotkey release", "bind = , code:134, exec, quenda --hotkey press\nbindr = SUPER, code:134, exec, quenda --hotkey release"},
    };
    // clang-format on
    for (const auto& row : rows) {
        EXPECT_EQ(HotkeyRouteNotice::swayBinding(row.hotkey), QString::fromUtf8(row.sway));
        EXPECT_EQ(HotkeyRouteNotice::hyprlandBinding(row.hotkey), QString::fromUtf8(row.hyprland));
    }
}
