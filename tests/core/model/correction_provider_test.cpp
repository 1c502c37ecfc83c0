#include "test_text.h"

#include "core/keys/open_ai_key_store.h"
#include "core/model/correction_endpoint.h"

#include <QSet>
#include <QUrl>

#include <gtest/gtest.h>

TEST(CorrectionProviders, EachBuiltInProviderSaysWhereItsKeyLivesAndWhereToGetOne)
{
    QSet<QString> kinds;
    qsizetype general = 0;
    for (const auto& provider : CorrectionEndpoint::providers()) {
        const std::string kind = QString(provider.kind).toStdString();
        EXPECT_FALSE(provider.kind.isEmpty());
        kinds.insert(provider.kind);
        if (provider.generalKey) {
            ++general;
            EXPECT_EQ(QUrl(QString(provider.baseURL)).host(), CorrectionEndpoint::openAIHost()) << kind;
        }
        if (provider.usesOwnBaseURL()) {
            // A server the user names has no fixed key to look up and no page to send the user to.
            EXPECT_TRUE(provider.keyAccount.isEmpty()) << kind;
            EXPECT_TRUE(provider.keySetupURL.isEmpty()) << kind;
            EXPECT_FALSE(provider.generalKey) << kind;
            continue;
        }
        EXPECT_EQ(QUrl(QString(provider.baseURL)).scheme(), s("https")) << kind;
        EXPECT_FALSE(provider.keyAccount.isEmpty()) << kind;
        EXPECT_EQ(QUrl(QString(provider.keySetupURL)).scheme(), s("https")) << kind;
    }
    EXPECT_EQ(kinds.size(), CorrectionEndpoint::providers().size());
    EXPECT_EQ(general, 1);
    EXPECT_EQ(CorrectionEndpoint::knownKinds().size(), kinds.size());
}

// The key store still decides accounts and pages on its own; until it reads the table, the two
// must not drift apart, or a key would be saved where the rest of the app does not look.
TEST(CorrectionProviders, KeyStoreFindsEachKeyWhereTheTableSays)
{
    QStringList kinds = CorrectionEndpoint::knownKinds();
    kinds.append(s("from-a-newer-version"));
    for (const QString& kind : kinds) {
        const CorrectionEndpoint endpoint{QUuid::createUuid(), kind, s("auto"), QString(), true};
        const auto provider = CorrectionEndpoint::providerOf(kind);
        const bool ownAccount = !provider || provider->keyAccount.isEmpty();
        const QString account =
            ownAccount ? OpenAIKeyStore::endpointAccount(endpoint.id) : QString(provider->keyAccount);
        EXPECT_EQ(OpenAIKeyStore::account(endpoint).toStdString(), account.toStdString())
            << kind.toStdString();
        // An empty text stands for "no page" on both sides.
        const QString page = provider ? QString(provider->keySetupURL) : QString();
        EXPECT_EQ(OpenAIKeyStore::keySetupURL(endpoint).value_or(QUrl()).toString().toStdString(),
                  page.toStdString())
            << kind.toStdString();
    }
    EXPECT_EQ(CorrectionEndpoint::providerOf(s("chatgpt"))->keyAccount, OpenAIKeyStore::openAIAccount());
}
