#include "core/keys/open_ai_key_store.h"
#include "platform/linux/secret/libsecret_store.h"
#include "service_check.h"

#include <QSettings>
#include <QTemporaryDir>
#include <QUuid>

#include <gtest/gtest.h>

namespace {

using Keychain = SecretStore::Keychain;
using Status = SecretStore::Status;

// Runs against the private gnome-keyring of scripts/with-services. Accounts are random so a
// run against a real keyring leaves the user's own items alone.
class LibsecretStoreTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        QUENDA_NEEDS_SERVICE(qEnvironmentVariable("QUENDA_SECRET_SERVICE") == QLatin1String("1"),
                             "the Secret Service of scripts/with-services (QUENDA_SECRET_SERVICE=1)");
    }
    void TearDown() override
    {
        for (const Keychain keychain : {Keychain::Login, Keychain::DataProtection})
            m_store.remove(m_service, m_account, keychain);
    }

    LibsecretStore m_store;
    const QString m_service = QStringLiteral("de.morvane.quenda.test");
    const QString m_account = QStringLiteral("test-") + QUuid::createUuid().toString(QUuid::WithoutBraces);
};

TEST_F(LibsecretStoreTest, KeychainsHoldSeparateItemsAndWritesReplaceExactly)
{
    const QByteArray binary("\x00\xff sk", 5);
    const QString label = QStringLiteral("label");
    EXPECT_EQ(m_store.read(m_service, m_account, Keychain::Login).status, Status::NotFound);
    ASSERT_TRUE(m_store.write(m_service, m_account, Keychain::Login, "login-secret", label));
    EXPECT_EQ(m_store.read(m_service, m_account, Keychain::DataProtection).status, Status::NotFound);
    ASSERT_TRUE(m_store.write(m_service, m_account, Keychain::DataProtection, "first", label));
    ASSERT_TRUE(m_store.write(m_service, m_account, Keychain::DataProtection, binary, label));

    EXPECT_EQ(m_store.read(m_service, m_account, Keychain::Login).secret, QByteArray("login-secret"));
    EXPECT_EQ(m_store.read(m_service, m_account, Keychain::DataProtection).secret, binary);

    EXPECT_EQ(m_store.remove(m_service, m_account, Keychain::Login), Status::Ok);
    EXPECT_EQ(m_store.remove(m_service, m_account, Keychain::Login), Status::NotFound);
    EXPECT_EQ(m_store.remove(m_service, m_account, Keychain::DataProtection), Status::Ok);
    EXPECT_EQ(m_store.read(m_service, m_account, Keychain::DataProtection).status, Status::NotFound)
        << "a replaced item must not leave its older twin behind";
}

// Run by CTest with the session bus pointing nowhere (see CMakeLists.txt).
TEST(LibsecretStoreWithoutService, ReadsGiveNoKeyAndSavesFail)
{
    if (qEnvironmentVariable("QUENDA_NO_SECRET_SERVICE") != QLatin1String("1"))
        GTEST_SKIP() << "needs a session bus address that leads nowhere (QUENDA_NO_SECRET_SERVICE=1)";
    QTemporaryDir settingsDir;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsDir.path());

    LibsecretStore store;
    const QString account = OpenAIKeyStore::openAIAccount();
    EXPECT_EQ(store.read(OpenAIKeyStore::service(), account, Keychain::DataProtection).status, Status::Failed)
        << "an unanswered read is no \"not found\"";

    QSettings settings(QStringLiteral("Morvane"), QStringLiteral("Quenda"));
    OpenAIKeyStore keys(&store, settings);
    EXPECT_EQ(KeyLookups::shown(keys.load(std::nullopt)), QString());
    EXPECT_FALSE(keys.load(std::nullopt).ok()) << "an unanswered Secret Service is no \"no key\"";
    EXPECT_FALSE(keys.save(QStringLiteral("sk-1"), account));
    EXPECT_FALSE(keys.save(QString(), account)) << "a removal nobody answered is no success";
}

} // namespace
