#include "core/open_ai_key_store.h"
#include "core/run_mode.h"
#include "fake_secret_store.h"

#include <QEventLoop>
#include <QSettings>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <utility>
#include <vector>

namespace {

using Keychain = SecretStore::Keychain;
using Op = FakeSecretStore::Operation;
constexpr Keychain DP = Keychain::DataProtection;
constexpr Keychain Login = Keychain::Login;

const QString kMain = QStringLiteral("de.morvane.quenda");
const QString kLegacy = QStringLiteral("de.oberkamm.Quenda");
const QString kOpenAI = QStringLiteral("openai-api-key");
const QString kClaude = QStringLiteral("claude-api-key");

CorrectionEndpoint endpoint(const char* kind)
{
    return {QUuid::fromString(QLatin1String("{6f1c2a3b-4d5e-4f60-8a9b-0c1d2e3f4a5b}")),
            QLatin1String(kind),
            QStringLiteral("auto"),
            {},
            true};
}

const QString kEndpointAccount = QStringLiteral("correction.6F1C2A3B-4D5E-4F60-8A9B-0C1D2E3F4A5B");

class KeyStoreTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_settingsDir.isValid());
        RunMode::setSnapshot(false);
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_settingsDir.path());
    }
    void TearDown() override { RunMode::setSnapshot(false); }

    static bool flag()
    {
        return QSettings(QStringLiteral("Morvane"), QStringLiteral("Quenda"))
            .value(QStringLiteral("quenda.keychain.dp.v2"), false)
            .toBool();
    }
    std::optional<QByteArray> item(const QString& account, Keychain keychain,
                                   const QString& service = kMain) const
    {
        return m_secrets.item(service, account, keychain);
    }

    QTemporaryDir m_settingsDir;
    FakeSecretStore m_secrets;
    OpenAIKeyStore m_store{m_secrets};
};

// --- accounts and key pages ---

struct KindCase {
    const char* kind;
    QString account;
    QString url; // empty: no key page
};

TEST_F(KeyStoreTest, AccountAndKeyPageFollowTheKind)
{
    const KindCase cases[] = {
        {"chatgpt", kOpenAI, QStringLiteral("https://platform.openai.com/api-keys")},
        {"claude", kClaude, QStringLiteral("https://console.anthropic.com/settings/keys")},
        {"cursor", QStringLiteral("cursor-api-key"), QStringLiteral("https://cursor.com/settings")},
        {"custom", kEndpointAccount, {}},
        {"gemini", kEndpointAccount, {}},
    };
    for (const KindCase& c : cases) {
        SCOPED_TRACE(c.kind);
        EXPECT_EQ(OpenAIKeyStore::account(endpoint(c.kind)), c.account);
        const auto url = OpenAIKeyStore::keySetupURL(endpoint(c.kind));
        EXPECT_EQ(url.value_or(QUrl()).toString(), c.url);
    }
}

// --- save ---

TEST_F(KeyStoreTest, SavedKeyIsTrimmedAndLandsInTheDataProtectionKeychain)
{
    const char* typed[] = {"  sk-one  ", "sk-one\n", "\tsk-one\r\n"};
    for (const char* text : typed) {
        SCOPED_TRACE(text);
        ASSERT_TRUE(m_store.save(QStringLiteral("sk-other"), kClaude));
        EXPECT_TRUE(m_store.save(QLatin1String(text), kClaude));
        EXPECT_EQ(item(kClaude, DP), QByteArray("sk-one"));
        EXPECT_EQ(m_secrets.label(kMain, kClaude, DP), QStringLiteral("Morvane Quenda OpenAI"));
        EXPECT_FALSE(item(kClaude, Login));
    }
    EXPECT_FALSE(flag()) << "only the OpenAI account sets the flag";
}

TEST_F(KeyStoreTest, SavingEmptyTextRemovesTheItemFromBothKeychains)
{
    m_secrets.put(kMain, kClaude, DP, "sk-dp");
    m_secrets.put(kMain, kClaude, Login, "sk-login");
    EXPECT_TRUE(m_store.save(QStringLiteral(" \n"), kClaude));
    EXPECT_EQ(m_secrets.itemCount(), 0);
}

TEST_F(KeyStoreTest, SavingTheStoredKeyWritesNothing)
{
    m_secrets.put(kMain, kClaude, DP, "sk-1");
    EXPECT_TRUE(m_store.save(QStringLiteral("sk-1 "), kClaude));
    EXPECT_EQ(m_secrets.count(Op::Write), 0);
    EXPECT_EQ(m_secrets.count(Op::Remove), 1) << "only the login copy is dropped";
}

TEST_F(KeyStoreTest, SavingEmptyTextWithNoKeyStoredDeletesNothing)
{
    EXPECT_TRUE(m_store.save({}, kOpenAI));
    EXPECT_EQ(m_secrets.count(Op::Remove), 0);
    EXPECT_EQ(m_secrets.count(Op::Write), 0);
}

struct SaveFailureCase {
    const char* name;
    std::vector<std::pair<Op, Keychain>> failing;
    const char* storedInLogin; // nullptr: nothing stored
    const char* typed;
    bool saved;
};

TEST_F(KeyStoreTest, SaveReportsWhatTheStoreReallyHolds)
{
    const SaveFailureCase cases[] = {
        {"login takes what data protection refuses", {{Op::Write, DP}}, nullptr, "sk-new", true},
        {"no keychain takes the key", {{Op::Write, DP}, {Op::Write, Login}}, nullptr, "sk-new", false},
        {"read-back still finds the older key", {{Op::Read, DP}}, "sk-old", "sk-new", false},
        {"removal leaves the item behind", {{Op::Remove, Login}}, "sk-old", "", false},
    };
    for (const SaveFailureCase& c : cases) {
        SCOPED_TRACE(c.name);
        FakeSecretStore secrets;
        OpenAIKeyStore store(secrets);
        if (c.storedInLogin)
            secrets.put(kMain, kClaude, Login, c.storedInLogin);
        for (const auto& [operation, keychain] : c.failing)
            secrets.setFailing(operation, keychain, true);
        EXPECT_EQ(store.save(QLatin1String(c.typed), kClaude), c.saved);
    }
}

TEST_F(KeyStoreTest, FallbackWriteDropsTheOlderDataProtectionCopy)
{
    // Left in place, the old key would win the next load and that load would delete the new one.
    m_secrets.put(kMain, kClaude, DP, "sk-old");
    m_secrets.setFailing(Op::Write, DP, true);
    EXPECT_TRUE(m_store.save(QStringLiteral("sk-new"), kClaude));
    EXPECT_FALSE(item(kClaude, DP));
    EXPECT_EQ(m_store.key(endpoint("claude")), QStringLiteral("sk-new"));
}

TEST_F(KeyStoreTest, RemovingTheDefaultKeyAlsoRemovesTheLegacyOne)
{
    // Otherwise the next load would migrate the removed key straight back.
    m_secrets.put(kMain, kOpenAI, DP, "sk-new");
    m_secrets.put(kLegacy, kOpenAI, Login, "sk-old");
    EXPECT_TRUE(m_store.save({}, kOpenAI));
    EXPECT_EQ(m_store.load(std::nullopt), QString());
    EXPECT_EQ(m_secrets.itemCount(), 0);
    EXPECT_TRUE(flag());
}

// --- load and migrations ---

TEST_F(KeyStoreTest, LoginOnlyKeyMovesToDataProtectionOnceARun)
{
    m_secrets.put(kMain, kOpenAI, Login, "sk-1");
    EXPECT_EQ(m_store.load(std::nullopt), QStringLiteral("sk-1"));
    EXPECT_EQ(item(kOpenAI, DP), QByteArray("sk-1"));
    EXPECT_FALSE(item(kOpenAI, Login));
    EXPECT_TRUE(flag());

    m_secrets.clearCalls();
    EXPECT_EQ(m_store.load(std::nullopt), QStringLiteral("sk-1"));
    EXPECT_EQ(m_secrets.calls(), QStringList{QStringLiteral("read de.morvane.quenda openai-api-key dp")});
}

TEST_F(KeyStoreTest, DataProtectionKeyDropsItsLoginCopy)
{
    m_secrets.put(kMain, kEndpointAccount, DP, "sk-dp");
    m_secrets.put(kMain, kEndpointAccount, Login, "sk-login");
    EXPECT_EQ(m_store.load(endpoint("custom").id), QStringLiteral("sk-dp"));
    EXPECT_FALSE(item(kEndpointAccount, Login));
}

TEST_F(KeyStoreTest, FailedMigrationKeepsTheKeyAndWaitsForTheNextRun)
{
    m_secrets.put(kMain, kOpenAI, Login, "sk-1");
    m_secrets.setFailing(Op::Write, DP, true);
    EXPECT_EQ(m_store.load(std::nullopt), QStringLiteral("sk-1"));
    EXPECT_EQ(m_store.load(std::nullopt), QStringLiteral("sk-1"));
    EXPECT_EQ(item(kOpenAI, Login), QByteArray("sk-1"));
    EXPECT_EQ(m_secrets.count(Op::Write), 1);
    EXPECT_FALSE(flag());

    m_secrets.setFailing(Op::Write, DP, false);
    OpenAIKeyStore nextRun(m_secrets);
    EXPECT_EQ(nextRun.load(std::nullopt), QStringLiteral("sk-1"));
    EXPECT_EQ(item(kOpenAI, DP), QByteArray("sk-1"));
    EXPECT_FALSE(item(kOpenAI, Login));
}

TEST_F(KeyStoreTest, LegacyServiceKeyIsMovedToTheMainService)
{
    for (const Keychain where : {DP, Login}) {
        SCOPED_TRACE(where == DP ? "legacy in data protection" : "legacy in login");
        FakeSecretStore secrets;
        OpenAIKeyStore store(secrets);
        secrets.put(kLegacy, kOpenAI, where, "sk-legacy");
        EXPECT_EQ(store.load(std::nullopt), QStringLiteral("sk-legacy"));
        EXPECT_EQ(secrets.item(kMain, kOpenAI, DP), QByteArray("sk-legacy"));
        EXPECT_EQ(secrets.itemCount(), 1) << "legacy copies are gone from both keychains";
        EXPECT_TRUE(flag());
    }
}

TEST_F(KeyStoreTest, LegacyKeyStaysWhenItsMoveFails)
{
    m_secrets.put(kLegacy, kOpenAI, Login, "sk-legacy");
    m_secrets.setFailing(Op::Write, DP, true);
    EXPECT_EQ(m_store.load(std::nullopt), QStringLiteral("sk-legacy"));
    EXPECT_EQ(item(kOpenAI, Login, kLegacy), QByteArray("sk-legacy"));
    EXPECT_EQ(m_secrets.count(Op::Remove), 0);
}

TEST_F(KeyStoreTest, SavingTheLegacyKeyAgainKeepsTheLegacyItem)
{
    m_secrets.put(kLegacy, kOpenAI, Login, "sk-legacy");
    EXPECT_TRUE(m_store.save(QStringLiteral("sk-legacy"), kOpenAI));
    EXPECT_EQ(item(kOpenAI, DP), QByteArray("sk-legacy"));
    EXPECT_EQ(item(kOpenAI, Login, kLegacy), QByteArray("sk-legacy"));
}

TEST_F(KeyStoreTest, UndecodableOrEmptyItemsCountAsNoKey)
{
    const QByteArray data[] = {QByteArray(), QByteArray("\xff\xfe", 2), QByteArray("sk-\xc3", 4)};
    for (const QByteArray& bytes : data) {
        SCOPED_TRACE(bytes.toHex().constData());
        FakeSecretStore secrets;
        OpenAIKeyStore store(secrets);
        secrets.put(kMain, kOpenAI, DP, bytes);
        EXPECT_EQ(store.load(std::nullopt), QString());
    }
}

TEST_F(KeyStoreTest, UnavailableStoreGivesNoKeyAndRefusesSaves)
{
    m_secrets.setUnavailable(true);
    EXPECT_EQ(m_store.load(std::nullopt), QString());
    EXPECT_EQ(m_store.key(endpoint("claude")), QString());
    EXPECT_FALSE(m_store.save(QStringLiteral("sk-1"), kOpenAI));
    EXPECT_FALSE(flag());
    // Unanswered reads are not "no key": a removal that may have left the key is no success.
    EXPECT_FALSE(m_store.save({}, kOpenAI));
    EXPECT_FALSE(m_store.save({}, kClaude));
}

TEST_F(KeyStoreTest, UnreadableDataProtectionItemIsNeverOverwrittenByAnOlderCopy)
{
    struct Case {
        const char* name;
        QString service;
        QString account;
        std::function<QString(OpenAIKeyStore&)> read;
    };
    const Case cases[] = {
        {"login copy", kMain, kClaude, [](OpenAIKeyStore& s) { return s.key(endpoint("claude")); }},
        {"legacy service", kLegacy, kOpenAI, [](OpenAIKeyStore& s) { return s.load(std::nullopt); }},
        {"endpoint item", kMain, kEndpointAccount,
         [](OpenAIKeyStore& s) { return s.key(endpoint("claude")); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FakeSecretStore secrets;
        OpenAIKeyStore store(secrets);
        const QString kindAccount = c.account == kEndpointAccount ? kClaude : c.account;
        secrets.put(kMain, kindAccount, DP, "sk-newer");
        secrets.put(c.service, c.account, Login, "sk-older");
        secrets.setFailing(Op::Read, DP, true);
        EXPECT_EQ(c.read(store), QStringLiteral("sk-older"));
        EXPECT_EQ(secrets.item(kMain, kindAccount, DP), QByteArray("sk-newer"));
        EXPECT_EQ(secrets.item(c.service, c.account, Login), QByteArray("sk-older"));
    }
}

// --- key(for:) ---

TEST_F(KeyStoreTest, PerEndpointKeyOfABuiltInKindMovesToTheKindAccount)
{
    for (const Keychain where : {DP, Login}) {
        SCOPED_TRACE(where == DP ? "endpoint item in data protection" : "endpoint item in login");
        FakeSecretStore secrets;
        OpenAIKeyStore store(secrets);
        secrets.put(kMain, kEndpointAccount, where, "sk-claude");
        EXPECT_EQ(store.key(endpoint("claude")), QStringLiteral("sk-claude"));
        EXPECT_EQ(secrets.item(kMain, kClaude, DP), QByteArray("sk-claude"));
        EXPECT_EQ(secrets.itemCount(), 1);
    }
}

TEST_F(KeyStoreTest, RemovedKindKeyDoesNotComeBackFromTheEndpointItem)
{
    m_secrets.put(kMain, kEndpointAccount, DP, "sk-claude");
    ASSERT_EQ(m_store.key(endpoint("claude")), QStringLiteral("sk-claude"));
    ASSERT_TRUE(m_store.save({}, kClaude));
    EXPECT_EQ(m_store.key(endpoint("claude")), QString());
}

TEST_F(KeyStoreTest, EndpointItemStaysWhenTheCopyFails)
{
    m_secrets.put(kMain, kEndpointAccount, DP, "sk-claude");
    m_secrets.setFailing(Op::Write, DP, true);
    m_secrets.setFailing(Op::Write, Login, true);
    EXPECT_EQ(m_store.key(endpoint("claude")), QStringLiteral("sk-claude"));
    EXPECT_EQ(item(kEndpointAccount, DP), QByteArray("sk-claude"));
}

TEST_F(KeyStoreTest, ChatGPTEndpointFindsTheLegacyDefaultKey)
{
    m_secrets.put(kLegacy, kOpenAI, DP, "sk-legacy");
    EXPECT_EQ(m_store.key(endpoint("chatgpt")), QStringLiteral("sk-legacy"));
    EXPECT_EQ(item(kOpenAI, DP), QByteArray("sk-legacy"));
}

TEST_F(KeyStoreTest, CustomEndpointWithoutItemLooksNoFurther)
{
    m_secrets.put(kMain, kOpenAI, DP, "sk-default");
    EXPECT_EQ(m_store.key(endpoint("custom")), QString());
    EXPECT_EQ(m_secrets.calls(),
              (QStringList{
                  QStringLiteral("read de.morvane.quenda ") + kEndpointAccount + QStringLiteral(" dp"),
                  QStringLiteral("read de.morvane.quenda ") + kEndpointAccount + QStringLiteral(" login"),
              }));
}

// --- snapshot mode ---

TEST_F(KeyStoreTest, SnapshotModeNeverTouchesTheStore)
{
    m_secrets.put(kMain, kOpenAI, DP, "sk-1");
    m_secrets.put(kMain, kEndpointAccount, Login, "sk-2");
    RunMode::setSnapshot(true);
    EXPECT_EQ(m_store.load(std::nullopt), QString());
    EXPECT_EQ(m_store.load(endpoint("custom").id), QString());
    for (const char* kind : {"chatgpt", "claude", "custom"})
        EXPECT_EQ(m_store.key(endpoint(kind)), QString()) << kind;
    EXPECT_FALSE(m_store.save(QStringLiteral("sk-3"), kOpenAI));
    EXPECT_FALSE(m_store.save({}, kOpenAI));
    EXPECT_TRUE(m_secrets.calls().isEmpty());
}

// --- background calls ---

TEST_F(KeyStoreTest, BackgroundResultForAGoneContextIsDropped)
{
    auto* gone = new QObject;
    bool calledForGone = false;
    m_store.saveInBackground(QStringLiteral("sk-1"), kClaude, gone, [&](bool) { calledForGone = true; });
    delete gone;

    // One worker: the second result is delivered after the first would have been.
    QObject live;
    QEventLoop loop;
    QTimer::singleShot(10'000, &loop, [&] { loop.exit(1); });
    CorrectionEndpoint claude = endpoint("claude");
    QString got;
    QThread* deliveredOn = nullptr;
    m_store.keyInBackground(claude, &live, [&](const QString& key) {
        got = key;
        deliveredOn = QThread::currentThread();
        loop.quit();
    });
    ASSERT_EQ(loop.exec(), 0) << "no result arrived";
    EXPECT_FALSE(calledForGone);
    EXPECT_EQ(got, QStringLiteral("sk-1")) << "the save itself still ran";
    EXPECT_EQ(deliveredOn, live.thread());
}

} // namespace
