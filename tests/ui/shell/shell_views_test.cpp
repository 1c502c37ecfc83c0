#include "core/model/main_section.h"
#include "core/state/state_fixture.h"
#include "core/text/l10n.h"
#include "ui/kit/kit_button.h"
#include "ui/shell/main_view.h"
#include "ui/shell/menu_bar_view.h"
#include "ui/shell/onboarding_view.h"
#include "ui/shell/shell_window_host.h"
#include "ui/shell/sidebar.h"

#include <QAbstractButton>
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

TEST_F(ShellViewsTest, TheMainViewShowsThePageTheStateNamesAndTheSidebarSetsIt)
{
    MainView view(state());
    state().setSection(MainSection::Dictionary);
    EXPECT_EQ(view.currentPage(), int(MainSectionText::table.values().indexOf(MainSection::Dictionary)));

    EXPECT_TRUE(view.sidebar()->entry(MainSection::Dictionary)->isChecked());
    view.sidebar()->entry(MainSection::Notes)->click();
    EXPECT_EQ(state().section(), MainSection::Notes);
    view.sidebar()->entry(MainSection::Notes)->click(); // the shown page's entry stays chosen
    for (const MainSection section : MainSectionText::table.values())
        EXPECT_EQ(view.sidebar()->entry(section)->isChecked(), section == MainSection::Notes);
    EXPECT_EQ(view.currentPage(), int(MainSectionText::table.values().indexOf(MainSection::Notes)));
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

TEST_F(ShellViewsTest, TheMainWindowIsMadeOnceAndKeepsItsFrameBetweenRuns)
{
    QRect frame;
    {
        ShellWindowHost host(state(), m_settings);
        host.showMain();
        QWidget* first = host.mainWindow();
        first->setGeometry(40, 50, 930, 640);
        frame = first->geometry();
        first->close();
        host.showMain();
        EXPECT_EQ(host.mainWindow(), first);
        first->close();
    }
    ShellWindowHost next(state(), m_settings);
    next.showMain();
    EXPECT_EQ(next.mainWindow()->geometry().size(), frame.size());
}

// Every permission row reads granted in a Wayland session, yet the hotkey never fires in its windows.
TEST_F(ShellViewsTest, HomeOnboardingAndTheMenuSayWhereTheHotkeyReachesInAWaylandSession)
{
    // clang-format off
    const struct { const char* what; const char* sessionType; const char* waylandDisplay; bool told; } rows[] = {
        {.what = "X11",                  .sessionType = "x11",     .waylandDisplay = "",          .told = false},
        {.what = "Wayland by type",      .sessionType = "wayland", .waylandDisplay = "",          .told = true},
        {.what = "Wayland by display",   .sessionType = "",        .waylandDisplay = "wayland-0", .told = true},
    };
    // clang-format on
    const QByteArray savedType = qgetenv("XDG_SESSION_TYPE");
    const QByteArray savedDisplay = qgetenv("WAYLAND_DISPLAY");
    for (const auto& row : rows) {
        qputenv("XDG_SESSION_TYPE", row.sessionType);
        qputenv("WAYLAND_DISPLAY", row.waylandDisplay);
        MainView main(state());
        OnboardingView onboarding(state());
        MenuBarView menu(state());
        for (QWidget* view : {static_cast<QWidget*>(&main), static_cast<QWidget*>(&onboarding),
                              static_cast<QWidget*>(&menu)}) {
            auto* notice = view->findChild<QLabel*>(QStringLiteral("waylandNotice"));
            ASSERT_NE(notice, nullptr) << row.what;
            EXPECT_EQ(notice->isVisibleTo(view), row.told)
                << row.what << " " << view->metaObject()->className();
            EXPECT_EQ(notice->text(), L10n::s(QStringLiteral("session.waylandReach")));
        }
    }
    qputenv("XDG_SESSION_TYPE", savedType);
    qputenv("WAYLAND_DISPLAY", savedDisplay);
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
        }
    }
}
