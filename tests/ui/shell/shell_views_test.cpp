#include "core/model/main_section.h"
#include "core/state/state_fixture.h"
#include "ui/shell/main_view.h"
#include "ui/shell/onboarding_view.h"
#include "ui/shell/shell_window_host.h"

#include <QCoreApplication>
#include <QListWidget>
#include <QPushButton>
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

    auto* sidebar = view.findChild<QListWidget*>();
    ASSERT_NE(sidebar, nullptr);
    EXPECT_EQ(sidebar->count(), 7);
    sidebar->setCurrentRow(int(MainSectionText::table.values().indexOf(MainSection::Notes)));
    EXPECT_EQ(state().section(), MainSection::Notes);
    EXPECT_EQ(view.currentPage(), int(MainSectionText::table.values().indexOf(MainSection::Notes)));
}

TEST_F(ShellViewsTest, OnboardingsDoneButtonEndsOnboardingThroughTheStatesClosure)
{
    int finished = 0;
    state().setFinishOnboarding([&] { ++finished; });
    OnboardingView view(state());
    auto* done = view.findChild<QPushButton*>(QStringLiteral("onboardingDone"));
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
