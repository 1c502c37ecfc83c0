#include "test_text.h"
#include "widget_helpers.h"

#include "core/model/hotkey_routes.h"
#include "core/model/main_section.h"
#include "core/state/state_fixture.h"
#include "core/text/hotkey_text.h"
#include "core/text/l10n.h"
#include "ui/kit/key_cap.h"
#include "ui/kit/kit_button.h"
#include "ui/kit/kit_label.h"
#include "ui/kit/label_button.h"
#include "ui/kit/scheme.h"
#include "ui/kit/soft_picker.h"
#include "ui/kit/theme.h"
#include "ui/kit/toggle_switch.h"
#include "ui/pages/home/hotkey_route_notice.h"
#include "ui/pages/home/permission_rows.h"
#include "ui/pages/notes/note_destination_picker.h"
#include "ui/pages/page_table.h"
#include "ui/pages/settings/correction_notice.h"
#include "ui/pages/style/style_menu.h"
#include "ui/pages/style/style_page.h"
#include "ui/shell/main_view.h"
#include "ui/shell/menu_bar_view.h"
#include "ui/shell/onboarding_view.h"
#include "ui/shell/shell_window_host.h"
#include "ui/shell/sidebar.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QLayout>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>

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
    MainView view(state(), m_commands);
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

TEST_F(ShellViewsTest, OnboardingsDoneButtonEndsOnboardingThroughTheApplication)
{
    OnboardingView view(state(), m_commands);
    auto* done = view.findChild<QAbstractButton*>(QStringLiteral("onboardingDone"));
    ASSERT_NE(done, nullptr);
    done->click();
    EXPECT_EQ(m_commands.onboardingsFinished, 1);
}

TEST_F(ShellViewsTest, ClosingTheOnboardingWindowIsReportedOnceAndForgetsIt)
{
    ShellWindowHost host(state(), m_commands, m_settings);
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
        ShellWindowHost host(state(), m_commands, m_settings);
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
    ShellWindowHost next(state(), m_commands, m_settings);
    next.showMain();
    EXPECT_EQ(next.mainWindow()->geometry().size(), frame.size());
}

// The open popover stands among the application's windows for assistive tools, its buttons named
// and pressed through them as by a click; Escape closes it.
TEST_F(ShellViewsTest, ThePopoversControlsAreOnTheAccessibilityTreeWithNames)
{
    ShellWindowHost host(state(), m_commands, m_settings);
    host.toggleMenu();
    settle();
    ASSERT_TRUE(host.menuOpen());
    QAccessibleInterface* app = QAccessible::queryAccessibleInterface(qApp);
    QStringList named;
    std::function<void(QAccessibleInterface*)> walk = [&](QAccessibleInterface* node) {
        if (node->role() == QAccessible::Button && node->state().invisible == 0)
            named << node->text(QAccessible::Name);
        for (int i = 0; i < node->childCount(); ++i)
            walk(node->child(i));
    };
    for (int i = 0; i < app->childCount(); ++i) {
        if (app->child(i)->object() &&
            qobject_cast<QWidget*>(app->child(i)->object())->findChild<MenuBarView*>())
            walk(app->child(i));
    }
    for (const char* key : {"menu.dictate", "menu.open", "menu.notes", "menu.quit"})
        EXPECT_TRUE(named.contains(L10n::s(key))) << key;

    QSignalSpy quit(&host, &ShellWindowHost::quitRequested);
    QWidget* window = nullptr;
    for (QWidget* top : QApplication::topLevelWidgets()) {
        if (top->isVisible() && top->findChild<MenuBarView*>())
            window = top;
    }
    ASSERT_TRUE(window);
    for (LabelButton* button : window->findChildren<LabelButton*>()) {
        if (button->text() == L10n::s("menu.quit"))
            QAccessible::queryAccessibleInterface(button)->actionInterface()->doAction(
                QAccessibleActionInterface::pressAction());
    }
    EXPECT_EQ(quit.count(), 1);
    QTest::keyClick(window, Qt::Key_Escape);
    EXPECT_FALSE(host.menuOpen());
}

// A second start must bring the window back from the task bar, and its handle, which the window
// manager is asked to activate, exists only while the window is there.
TEST_F(ShellViewsTest, TheMainWindowComesBackMinimisedOrClosedAndNamesItsHandleOnlyWhileShown)
{
    ShellWindowHost host(state(), m_commands, m_settings);
    EXPECT_EQ(host.mainWindowHandle(), std::nullopt);
    host.showMain();
    QWidget* main = host.mainWindow();
    EXPECT_EQ(host.mainWindowHandle(), quint64(main->winId()));
    main->showMinimized();
    host.showMain();
    EXPECT_FALSE(main->isMinimized());
    main->close();
    EXPECT_EQ(host.mainWindowHandle(), std::nullopt);
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
        MainView main(state(), m_commands);
        OnboardingView onboarding(state(), m_commands);
        MenuBarView menu(state(), m_commands);
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
        MainView main(state(), m_commands);
        OnboardingView onboarding(state(), m_commands);
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

// Onboarding's last row is the launch-at-login switch: it shows the stored flag and writes it.
TEST_F(ShellViewsTest, OnboardingsLastRowSwitchesLaunchingAtLogin)
{
    OnboardingView view(state(), m_commands);
    ToggleSwitch* login = view.launchAtLogin();
    EXPECT_TRUE(login->isChecked());
    login->click();
    EXPECT_FALSE(state().config().launchAtLogin);
    configure([](QuendaConfig& c) { c.launchAtLogin = true; });
    EXPECT_TRUE(login->isChecked());
}

// Onboarding names the configured key as its key cap does, and ends with Done right under the last
// card, whatever notices the session adds above.
TEST_F(ShellViewsTest, OnboardingNamesTheKeyAsItsCapDoesAndEndsRightUnderItsCards)
{
    // clang-format off
    const struct { const char* what; Hotkey hotkey; SessionRoutes routes; HotkeyRouteStatus route; } rows[] = {
        {"X11",              Hotkey::RightControl, {},                                                                                                             {}},
        {"right Alt",        Hotkey::RightOption,  {},                                                                                                             {}},
        {"session notice",   Hotkey::RightControl, {.wayland = true, .keys = KeyRoute::RemoteDesktopPortal, .clipboard = ClipboardRoute::DataControl, .panel = PanelRoute::Hidden}, {}},
        {"binding notice",   Hotkey::LeftControl,  {},                                                                                                             {.route = HotkeyRoute::CommandLine}},
    };
    // clang-format on
    for (const auto& row : rows) {
        configure([&](QuendaConfig& c) { c.hotkey = row.hotkey; });
        state().setSessionRoutes(row.routes);
        state().setHotkeyRoute(row.route);
        OnboardingView view(state(), m_commands);
        view.resize(view.windowSize());
        view.show();
        settle();
        const QString key = HotkeyText::title(row.hotkey);
        EXPECT_TRUE(shownTexts(view).contains(L10n::format(s("onboarding.intro"), {key}))) << row.what;
        auto* cap = view.findChild<KeyCap*>();
        ASSERT_NE(cap, nullptr);
        EXPECT_EQ(cap->label(), key) << row.what;

        const QWidget* permissions = view.findChild<PermissionRows*>()->parentWidget();
        const auto* done = view.findChild<LabelButton*>(s("onboardingDone"));
        const int cardsEnd = permissions->mapTo(&view, QPoint(0, permissions->height())).y();
        const int capsuleTop = done->mapTo(&view, QPoint(0, 0)).y() + LabelButton::shadowRoom.top();
        EXPECT_LE(capsuleTop - cardsEnd, view.layout()->spacing() + LabelButton::shadowRoom.top())
            << row.what;
    }
}

// While the engine is ready and no correction provider answers, the style page, the popover's style
// menu and home each say what is missing in one line whose link opens the settings at correction.
TEST_F(ShellViewsTest, WithoutACorrectionProviderStylesAndHomeSaySoAndLeadToItsSettings)
{
    MainView main(state(), m_commands);
    MenuBarView menu(state(), m_commands);
    const struct {
        const char* host;
        std::function<CorrectionNotice*()> notice;
    } hosts[] = {
        {"style page",
         [&] {
             state().setSection(MainSection::Style);
             return qobject_cast<StylePage*>(main.page())->needsProvider();
         }},
        {"home",
         [&] {
             state().setSection(MainSection::Home);
             return main.page()->findChild<CorrectionNotice*>();
         }},
        {"popover", [&] { return menu.findChild<StyleMenu*>()->needsProvider(); }},
    };
    // clang-format off
    const struct { const char* what; bool engineReady; bool polishAvailable; bool shown; } rows[] = {
        {.what = "no provider",          .engineReady = true,  .polishAvailable = false, .shown = true},
        {.what = "a provider answers",   .engineReady = true,  .polishAvailable = true,  .shown = false},
        {.what = "engine not yet ready", .engineReady = false, .polishAvailable = false, .shown = false},
    };
    // clang-format on
    for (const auto& host : hosts) {
        CorrectionNotice* notice = host.notice();
        ASSERT_NE(notice, nullptr) << host.host;
        for (const auto& row : rows) {
            state().setEngineReady(row.engineReady);
            state().setPolishAvailable(row.polishAvailable);
            EXPECT_EQ(notice->isVisibleTo(notice->window()), row.shown) << host.host << ", " << row.what;
        }
        m_commands.settingsOpened.clear();
        emit notice->label()->linkActivated(s("settings"));
        EXPECT_EQ(m_commands.settingsOpened, QList{SettingsPlace::Correction}) << host.host;
    }
}

// The popover: no room left for a history that is empty, a call to stop that does not look like the
// call to start, the kit's pickers, and an edge of its own against the desktop.
TEST_F(ShellViewsTest, ThePopoverFitsItsContentStopsInItsOwnLookAndHasAnEdge)
{
    for (const bool empty : {true, false}) {
        state().setHistory(empty ? QList<HistoryEntry>{} : QList<HistoryEntry>{dictation(s("Hello there."))});
        MenuBarView menu(state(), m_commands);
        menu.resize(menu.sizeHint());
        menu.show();
        settle();
        EXPECT_EQ(menu.recent()->isVisibleTo(&menu), !empty);
        const auto* notes = menu.findChild<NoteDestinationPicker*>();
        const int below = menu.dictate()->mapTo(&menu, QPoint(0, menu.dictate()->height())).y();
        const int gap = notes->mapTo(&menu, QPoint(0, 0)).y() - below;
        if (empty)
            EXPECT_EQ(gap, menu.layout()->spacing());
        else
            EXPECT_GT(gap, menu.recent()->height());
    }

    // Opened by its host with the styles' notice wrapped in two lines: nothing below the last row.
    state().setPolishAvailable(false);
    {
        ShellWindowHost host(state(), m_commands, m_settings);
        host.toggleMenu();
        settle();
        const MenuBarView* opened = nullptr;
        for (QWidget* top : QApplication::topLevelWidgets()) {
            if (top->isVisible() && top->findChild<MenuBarView*>())
                opened = top->findChild<MenuBarView*>();
        }
        ASSERT_NE(opened, nullptr);
        const QWidget* styles = opened->findChild<StyleMenu*>();
        const int stylesEnd = styles->mapTo(opened, QPoint(0, styles->height())).y();
        for (const LabelButton* button : opened->findChildren<LabelButton*>()) {
            if (button->text() == L10n::s("menu.quit")) {
                EXPECT_EQ(button->mapTo(opened, QPoint(0, 0)).y() - stylesEnd, opened->layout()->spacing());
            }
        }
    }
    state().setPolishAvailable(true);

    MenuBarView menu(state(), m_commands);
    // clang-format off
    const struct { Phase phase; const char* text; Symbol symbol; std::optional<QColor> fill; } looks[] = {
        {Phase::idle(),      "menu.dictate", Symbol::Microphone, std::nullopt},
        {Phase::listening(), "menu.stop",    Symbol::Stop,       Theme::red()},
        {Phase::idle(),      "menu.dictate", Symbol::Microphone, std::nullopt},
    };
    // clang-format on
    for (const auto& look : looks) {
        state().setPhase(look.phase);
        EXPECT_EQ(menu.dictate()->text(), L10n::s(look.text));
        EXPECT_EQ(menu.dictate()->symbol(), look.symbol) << look.text;
        EXPECT_EQ(menu.dictate()->colour(), look.fill) << look.text;
    }

    const QList<QComboBox*> pickers = menu.findChildren<QComboBox*>();
    EXPECT_EQ(pickers.size(), 2);
    for (QComboBox* picker : pickers)
        EXPECT_NE(qobject_cast<SoftPicker*>(picker), nullptr) << picker->accessibleName().toStdString();

    for (const QPalette& scheme : {Scheme::light(), Scheme::dark()}) {
        menu.setPalette(scheme);
        const QImage picture = menu.grab().toImage();
        const int middle = picture.height() / 2;
        EXPECT_GT(std::abs(qGray(picture.pixel(0, middle)) - qGray(picture.pixel(4, middle))), 40);
    }
}
