#include "fake_engine_server.h"
#include "platform/fake/fake_secret_store.h"
#include "platform/fake/manual_clock.h"
#include "qstring_printer.h"
#include "speech/provider_key_snapshot.h"
#include "speech/speech_engine.h"
#include "support/temp_support_dir.h"

#include "core/keys/open_ai_key_store.h"

#include <QSet>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <gtest/gtest.h>

#include <functional>
#include <mutex>

namespace {

using namespace Qt::Literals::StringLiterals;
using Keychain = SecretStore::Keychain;
using Op = FakeSecretStore::Operation;

const QString kService = u"de.morvane.quenda"_s;
const QString kGeneral = u"openai-api-key"_s;
const QString kClaude = u"claude-api-key"_s;
const QString kSpeech = u"speech-api-key"_s;
const QUuid kId = QUuid::fromString(QLatin1String("{0b6c7d2e-1f3a-4b5c-9d8e-7f6a5b4c3d2e}"));

// The fake store, noting which thread made each call.
class ThreadNotingSecretStore final : public SecretStore {
public:
    FakeSecretStore inner;

    Read read(const QString& service, const QString& account, Keychain keychain) override
    {
        note();
        return inner.read(service, account, keychain);
    }
    bool write(const QString& service, const QString& account, Keychain keychain, const QByteArray& secret,
               const QString& label) override
    {
        note();
        return inner.write(service, account, keychain, secret, label);
    }
    Status remove(const QString& service, const QString& account, Keychain keychain) override
    {
        note();
        return inner.remove(service, account, keychain);
    }
    // The threads of every call so far, each once.
    QSet<QThread*> threads() const
    {
        std::lock_guard lock(m_mutex);
        return m_threads;
    }

private:
    void note()
    {
        std::lock_guard lock(m_mutex);
        m_threads.insert(QThread::currentThread());
    }

    mutable std::mutex m_mutex;
    QSet<QThread*> m_threads;
};

CorrectionEndpoint endpoint(const char* kind)
{
    return {kId, QString::fromLatin1(kind), u"auto"_s, {}, true};
}

QuendaConfig configWith(const CorrectionEndpoint& endpoint)
{
    QuendaConfig config = QuendaConfig::standard();
    config.polishProvider = PolishProvider::OpenAI;
    config.correctionEndpoints = {endpoint};
    config.syncLegacyCorrectionFields();
    return config;
}

class ProviderKeySnapshotTest : public TempSupportDir {
protected:
    void SetUp() override
    {
        TempSupportDir::SetUp();
        QObject::connect(&m_snapshot, &ProviderKeySnapshot::refreshed, &m_snapshot,
                         [this] { ++m_refreshed; });
    }
    void store(const QString& account, const QByteArray& secret)
    {
        m_secrets.inner.put(kService, account, Keychain::DataProtection, secret);
    }
    bool refresh(const QuendaConfig& config)
    {
        const int before = m_refreshed;
        m_snapshot.refresh(config);
        return QTest::qWaitFor([&] { return m_refreshed > before; }, 10'000);
    }

    QTemporaryDir m_settingsDir;
    QSettings m_settings{m_settingsDir.filePath(u"defaults.ini"_s), QSettings::IniFormat};
    ThreadNotingSecretStore m_secrets;
    OpenAIKeyStore m_store{&m_secrets, m_settings};
    ProviderKeySnapshot m_snapshot{m_store};
    int m_refreshed = 0;
};

struct RefreshRow {
    const char* name;
    std::function<void(FakeSecretStore&)> between; // what happens to the store after the first refresh
    const char* general;                           // the keys as the second refresh leaves them
    const char* claude;
    const char* speech;
};

// clang-format off
const RefreshRow kRefreshRows[] = {
    {.name = "KeysSavedSinceAreTaken", .between = [](FakeSecretStore& s) { s.put(kService, kGeneral, Keychain::DataProtection, "sk-g2"); s.put(kService, kClaude, Keychain::DataProtection, "sk-a2"); s.put(kService, kSpeech, Keychain::DataProtection, "sk-s2"); }, .general = "sk-g2", .claude = "sk-a2", .speech = "sk-s2"},
    {.name = "KeysDeletedSinceAreDropped", .between = [](FakeSecretStore& s) { s.remove(kService, kGeneral, Keychain::DataProtection); s.remove(kService, kClaude, Keychain::DataProtection); s.remove(kService, kSpeech, Keychain::DataProtection); }, .general = "", .claude = "", .speech = ""},
    // Blanked instead, a locked keyring would make every configured provider look unconfigured.
    {.name = "UnansweredReadsKeepTheKeysHeld", .between = [](FakeSecretStore& s) { s.setFailing(Op::Read, Keychain::DataProtection, true); s.setFailing(Op::Read, Keychain::Login, true); }, .general = "sk-g1", .claude = "sk-a1", .speech = "sk-s1"},
};
// clang-format on

void PrintTo(const RefreshRow& row, std::ostream* os)
{
    *os << row.name;
}

class RefreshTable : public ProviderKeySnapshotTest, public ::testing::WithParamInterface<RefreshRow> {};

TEST_P(RefreshTable, SecondRefreshLeavesTheKeysTheStoreCallsFor)
{
    store(kGeneral, "sk-g1");
    store(kClaude, "sk-a1");
    store(kSpeech, "sk-s1");
    const QuendaConfig config = configWith(endpoint("claude"));
    ASSERT_TRUE(refresh(config));
    EXPECT_EQ(m_snapshot.generalKey(), u"sk-g1"_s);
    EXPECT_EQ(m_snapshot.key(endpoint("claude")), u"sk-a1"_s);
    EXPECT_EQ(m_snapshot.speechKey(), u"sk-s1"_s);

    GetParam().between(m_secrets.inner);
    ASSERT_TRUE(refresh(config));
    EXPECT_EQ(m_snapshot.generalKey(), QString::fromUtf8(GetParam().general));
    EXPECT_EQ(m_snapshot.key(endpoint("claude")), QString::fromUtf8(GetParam().claude));
    EXPECT_EQ(m_snapshot.speechKey(), QString::fromUtf8(GetParam().speech));
}

INSTANTIATE_TEST_SUITE_P(Changes, RefreshTable, ::testing::ValuesIn(kRefreshRows),
                         [](const auto& info) { return std::string(info.param.name); });

// Catches a key read for one provider being sent to another after the user changed the endpoint's
// kind, both before the refresh has its answer and when that refresh goes unanswered.
TEST_F(ProviderKeySnapshotTest, AnEndpointWhoseKindChangedNeverGetsTheOldProvidersKey)
{
    store(kClaude, "sk-a1");
    ASSERT_TRUE(refresh(configWith(endpoint("claude"))));
    ASSERT_EQ(m_snapshot.key(endpoint("claude")), u"sk-a1"_s);

    m_secrets.inner.setFailing(Op::Read, Keychain::DataProtection, true);
    m_secrets.inner.setFailing(Op::Read, Keychain::Login, true);
    m_snapshot.refresh(configWith(endpoint("cursor")));
    EXPECT_EQ(m_snapshot.key(endpoint("cursor")), QString()) << "before the refresh answered";
    ASSERT_TRUE(QTest::qWaitFor([&] { return m_refreshed == 2; }, 10'000));
    EXPECT_EQ(m_snapshot.key(endpoint("cursor")), QString()) << "after an unanswered refresh";
}

// Catches a refresh read on a worker of its own: it would race the save it is meant to follow and
// could keep the old key. One thread for both is what keeps them in order.
TEST_F(ProviderKeySnapshotTest, RefreshAfterASaveFindsTheSavedKey)
{
    store(kClaude, "sk-old");
    m_store.saveInBackground(u"sk-new"_s, kClaude, nullptr, {});
    ASSERT_TRUE(refresh(configWith(endpoint("claude"))));
    EXPECT_EQ(m_snapshot.key(endpoint("claude")), u"sk-new"_s);
    EXPECT_EQ(m_secrets.threads().size(), 1);
    EXPECT_FALSE(m_secrets.threads().contains(QThread::currentThread()))
        << "the store was asked on the main thread";
}

// Catches a health poll that reads keys through the Secret Service on the main thread: the poll
// must see the held keys and make no store call.
TEST_F(ProviderKeySnapshotTest, EnginePollFindsTheHeldKeysWithoutAskingTheStore)
{
    store(kClaude, "sk-a1");
    QuendaConfig config = configWith(endpoint("claude"));
    ASSERT_TRUE(refresh(config));
    FakeEngineServer server;
    server.script("/health", {200, R"({"ready":true})"});
    config.port = server.port();
    ManualClock clock;
    SpeechEngine engine(
        clock, [&config] { return config; }, m_snapshot, EngineLocations{});
    server.proveWith(engine.secret());
    int reports = 0;
    QObject::connect(&engine, &SpeechEngine::statusChanged, &engine, [&] { ++reports; });
    const auto callsBefore = m_secrets.inner.calls();

    engine.poll();
    ASSERT_TRUE(QTest::qWaitFor([&] { return reports == 1; }, 10'000));
    EXPECT_TRUE(engine.polishAvailable()) << "the held key was not used";
    EXPECT_EQ(m_secrets.inner.calls(), callsBefore);
}

} // namespace
