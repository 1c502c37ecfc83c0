#include "test_text.h"

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
