#include "state_fixture.h"

#include <QSignalSpy>

namespace {

AppRelease release(const char* version)
{
    return {s(version), QUrl(QStringLiteral("https://example.org/quenda-%1.deb").arg(s(version)))};
}

} // namespace

class AppStateUpdate : public StateFixture {
protected:
    FakeUpdateFeed m_feed;
};

// The checker learns of the dictation only through the state's phase, and the views hear of the
// checker only through the state's signals.
TEST_F(AppStateUpdate, AnAutomaticInstallWaitsForTheStatesIdlePhaseAndEveryChangeIsSignalled)
{
    AppState& st = makeState(&m_feed);
    QSignalSpy updates(&st, &AppState::updateChanged);
    st.setPhase(Phase::listening());
    st.checkForUpdate(false);
    m_feed.answer(release("1.5.0"));
    st.setPhase(Phase::transcribing());
    EXPECT_EQ(st.update(), UpdateStatus::available(release("1.5.0")));
    st.setPhase(Phase::idle());
    EXPECT_EQ(st.update(), UpdateStatus::failed());
    EXPECT_EQ(updates.count(), 3); // checking, available, failed
}

TEST_F(AppStateUpdate, DismissingTheOfferedReleaseIsSignalled)
{
    AppState& st = makeState(&m_feed);
    QSignalSpy dismissed(&st, &AppState::dismissedUpdateChanged);
    st.checkForUpdate(true);
    m_feed.answer(release("1.5.0"));
    st.dismissUpdate();
    EXPECT_TRUE(st.dismissedUpdate());
    EXPECT_EQ(dismissed.count(), 1);
}

// A check without a feed could only fail, into the log, each time the popover opened.
TEST_F(AppStateUpdate, WithoutAFeedNoCheckRunsAndNothingIsLogged)
{
    AppState& st = makeState(nullptr);
    EXPECT_FALSE(st.checksForUpdates());
    st.checkForUpdate(true);
    st.checkForUpdate(false, false);
    EXPECT_EQ(st.update(), UpdateStatus::idle());
    EXPECT_FALSE(logged().contains(s("update:")));
}
