#include "core/model/main_section.h"
#include "core/state/state_fixture.h"
#include "ui/shell/main_view.h"
#include "ui/shell/onboarding_view.h"

#include <QListWidget>
#include <QPushButton>

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
    EXPECT_EQ(view.currentPage(), int(MainSectionText::all().indexOf(MainSection::Dictionary)));

    auto* sidebar = view.findChild<QListWidget*>();
    ASSERT_NE(sidebar, nullptr);
    EXPECT_EQ(sidebar->count(), 7);
    sidebar->setCurrentRow(int(MainSectionText::all().indexOf(MainSection::Notes)));
    EXPECT_EQ(state().section(), MainSection::Notes);
    EXPECT_EQ(view.currentPage(), int(MainSectionText::all().indexOf(MainSection::Notes)));
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
