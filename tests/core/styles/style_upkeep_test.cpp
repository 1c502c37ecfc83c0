#include "temp_support_dir.h"
#include "test_text.h"

#include "core/base/work_queue.h"
#include "core/styles/style_profiles.h"
#include "core/styles/style_upkeep.h"
#include "platform/fake/fake_window_system.h"

#include <QCoreApplication>

namespace {

using Origin = StyleProfiles::Origin;

AppStyleProfile profile(const char* id, const char* name, const char* style, const char* suggested,
                        bool customized)
{
    return {s(id), s(name), s(style), s(suggested), customized};
}

// Profiles in memory; every write is kept with its origin, also one that changes nothing.
class RecordingProfiles final : public StyleProfiles {
public:
    const QList<AppStyleProfile>& styleProfiles() const override { return m_profiles; }
    void writeStyleProfiles(const QList<AppStyleProfile>& profiles, Origin origin) override
    {
        m_profiles = profiles;
        m_writes.append(origin);
    }

    QList<AppStyleProfile> m_profiles;
    QList<Origin> m_writes;
};

class StyleUpkeepTest : public TempSupportDir {
protected:
    // Runs the posted scans and delivers their results.
    void finishRescans()
    {
        m_work.waitForIdle();
        QCoreApplication::processEvents();
    }

    RecordingProfiles m_profiles;
    FakeWindowSystem m_windows;
    // After the window system: its jobs end before the fake they read goes.
    WorkQueue m_work;
    StyleUpkeep m_upkeep{m_profiles, m_windows, m_work};
};

TEST_F(StyleUpkeepTest, RescanRefreshesUncustomisedProfilesAndLeavesCustomisedOnesAlone)
{
    m_windows.setInstalled({{s("thunderbird"), s("Thunderbird")}});
    // Installed entries come first, so their name wins over the running app's.
    m_windows.setRunning(
        {{s("thunderbird"), s("Running Name")}, {s("chatapp"), s("Slack")}, {s("mine"), s("Discord")}});
    m_profiles.m_profiles = {profile("chatapp", "Old Name", "email", "email", false),
                             profile("mine", "Mine", "code", "email", true)};
    for (int scan = 0; scan < 2; ++scan) {
        m_upkeep.rescan();
        finishRescans();
    }
    // One write, and as upkeep: it shows no settings-saved notice.
    EXPECT_EQ(m_profiles.m_writes, QList<Origin>{Origin::Upkeep});
    EXPECT_EQ(m_profiles.m_profiles,
              (QList<AppStyleProfile>{profile("mine", "Discord", "code", "email", true),
                                      profile("chatapp", "Slack", "chat", "chat", false),
                                      profile("thunderbird", "Thunderbird", "email", "email", false)}));
}

TEST_F(StyleUpkeepTest, ARescanAskedWhileOneRunsStartsNoSecondScan)
{
    m_windows.setInstalled({{s("thunderbird"), s("Thunderbird")}});
    m_upkeep.rescan();
    m_upkeep.rescan();
    finishRescans();
    EXPECT_EQ(m_windows.installedReads(), 1);
    EXPECT_FALSE(m_upkeep.scanning());
    // Once its answer is in, the next visit scans again.
    m_upkeep.rescan();
    finishRescans();
    EXPECT_EQ(m_windows.installedReads(), 2);
}

} // namespace
