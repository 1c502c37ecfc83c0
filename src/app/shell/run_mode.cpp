#include "app/shell/run_mode.h"

#include "core/base/support_paths.h"
#include "ui/kit/theme.h"

namespace {

class NoSilencer final : public Silencer {
public:
    void begin(OthersAudio) override {}
    void end() override {}
};

class NoLearner final : public Learner {
public:
    void watch(const QString&, QObject*, Learned) override {}
    void stop() override {}
};

std::unique_ptr<StateFiles> filesFor(bool snapshot)
{
    if (snapshot)
        return std::make_unique<DemoFiles>();
    return std::make_unique<SupportFolderFiles>();
}

} // namespace

RunMode::RunMode(bool snapshot)
    : m_snapshot(snapshot)
    , m_files(filesFor(snapshot))
    , m_noSilencer(std::make_unique<NoSilencer>())
    , m_noLearner(std::make_unique<NoLearner>())
{
}

RunMode::~RunMode() = default;

SecretStore* RunMode::secrets(SecretStore& store) const
{
    return m_snapshot ? nullptr : &store;
}

Silencer& RunMode::silencer(Silencer& silencer)
{
    return m_snapshot ? *m_noSilencer : silencer;
}

Learner& RunMode::learner(Learner& learner)
{
    return m_snapshot ? *m_noLearner : learner;
}

void RunMode::applyToProcess() const
{
    if (!m_snapshot)
        return;
    SupportPaths::setUntouched(true);
    Theme::setAnimated(false);
}
