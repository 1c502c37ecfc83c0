#include "fake_engine_server.h"
#include "fake_provider_keys.h"
#include "manual_clock.h"
#include "polish_request.h"
#include "qstring_printer.h"
#include "speech_engine.h"
#include "support/temp_support_dir.h"

#include "core/run_mode.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QTest>

#include <gtest/gtest.h>

namespace {

const QUuid kFirst = QUuid::createUuid();
const QUuid kSecond = QUuid::createUuid();

CorrectionEndpoint endpoint(const QUuid& id, const char* kind, const char* baseURL = "", bool enabled = true)
{
    return {id, QString::fromLatin1(kind), QStringLiteral("auto"), QString::fromUtf8(baseURL), enabled};
}

QuendaConfig configWith(const char* provider, QList<CorrectionEndpoint> endpoints, bool fallback = false)
{
    QuendaConfig config = QuendaConfig::standard();
    config.polishProvider = QString::fromLatin1(provider);
    config.correctionEndpoints = std::move(endpoints);
    config.correctionFallback = fallback;
    config.syncLegacyCorrectionFields();
    return config;
}

QJsonObject jsonOf(const char* text)
{
    return QJsonDocument::fromJson(text).object();
}

struct BodyCase {
    const char* name;
    QuendaConfig config;
    QString generalKey;
    QHash<QString, QString> keysByKind;
    // Only these members of the body are compared; a null value means the member must be absent.
    QJsonObject expected;
};

class PolishRequestTest : public TempSupportDir {};

class PolishBodyTest : public TempSupportDir, public ::testing::WithParamInterface<BodyCase> {};

TEST_P(PolishBodyTest, SendsOnlyUsableEndpointsAndKeysThatAreStored)
{
    const BodyCase& c = GetParam();
    FakeProviderKeys keys;
    keys.general = c.generalKey;
    keys.byKind = c.keysByKind;
    const QJsonObject body =
        PolishRequest::build(QStringLiteral("raw"), std::nullopt, c.config, std::nullopt, false, keys)
            .toJson();
    for (auto it = c.expected.begin(); it != c.expected.end(); ++it) {
        if (it->isNull())
            EXPECT_FALSE(body.contains(it.key())) << it.key().toStdString();
        else
            EXPECT_EQ(body.value(it.key()), *it)
                << it.key().toStdString() << " in " << QJsonDocument(body).toJson().toStdString();
    }
}

const BodyCase kBodies[] = {
    {"LocalProviderKeepsGeneralKeyOnly",
     configWith("local", {endpoint(kFirst, "chatgpt")}),
     QStringLiteral(" sk-g\n"),
     {},
     jsonOf(R"({"provider":"local","apiKey":"sk-g","openAIModel":null,"baseURL":null,"endpoints":[]})")},
    {"OpenAIWithoutKeysSendsNoEndpoints",
     configWith("openai", {endpoint(kFirst, "chatgpt")}),
     {},
     {},
     jsonOf(R"({"provider":"openai","apiKey":null,"openAIModel":"auto",
                "baseURL":"https://api.openai.com/v1","endpoints":[]})")},
    {"ChatGPTWithKey",
     configWith("openai", {endpoint(kFirst, "chatgpt")}),
     {},
     {{QStringLiteral("chatgpt"), QStringLiteral("sk-c")}},
     jsonOf(R"({"endpoints":[{"model":"auto","apiKey":"sk-c","baseURL":"https://api.openai.com/v1",
                "kind":"chatgpt"}]})")},
    {"CustomTrimmedWithoutKey",
     configWith("openai", {endpoint(kFirst, "custom", "  http://10.0.0.2:8080/v1 \n")}),
     {},
     {},
     jsonOf(R"({"baseURL":"http://10.0.0.2:8080/v1",
                "endpoints":[{"model":"auto","baseURL":"http://10.0.0.2:8080/v1","kind":"custom"}]})")},
    {"CustomBlankBaseLeftOut",
     configWith("openai", {endpoint(kFirst, "custom", "   ")}),
     {},
     {{QStringLiteral("custom"), QStringLiteral("sk-x")}},
     jsonOf(R"({"endpoints":[]})")},
    {"ClaudeBlankKeyLeftOut",
     configWith("openai", {endpoint(kFirst, "claude")}),
     {},
     {{QStringLiteral("claude"), QStringLiteral("  \t")}},
     jsonOf(R"({"endpoints":[]})")},
    {"ClaudeWithKeyUsesItsApiBase",
     configWith("openai", {endpoint(kFirst, "claude")}),
     {},
     {{QStringLiteral("claude"), QStringLiteral(" sk-a ")}},
     jsonOf(R"({"endpoints":[{"model":"auto","apiKey":"sk-a","baseURL":"https://api.anthropic.com/v1",
                "kind":"claude"}]})")},
    {"FallbackOffSendsOnlyFirstEnabled",
     configWith("openai",
                {endpoint(kFirst, "custom", "http://a/v1", false), endpoint(kSecond, "custom", "http://b/v1"),
                 endpoint(QUuid::createUuid(), "custom", "http://c/v1")}),
     {},
     {},
     jsonOf(R"({"endpoints":[{"model":"auto","baseURL":"http://b/v1","kind":"custom"}]})")},
    {"FallbackOnSendsAllEnabledInOrder",
     configWith("openai",
                {endpoint(kFirst, "custom", "http://a/v1"), endpoint(kSecond, "custom", "http://b/v1")},
                true),
     {},
     {},
     jsonOf(R"({"endpoints":[{"model":"auto","baseURL":"http://a/v1","kind":"custom"},
                             {"model":"auto","baseURL":"http://b/v1","kind":"custom"}]})")},
};

INSTANTIATE_TEST_SUITE_P(Cases, PolishBodyTest, ::testing::ValuesIn(kBodies),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(PolishRequestTest, PolishBodyAlwaysHoldsNoteAnswerAndOmitsAbsentOptionals)
{
    FakeProviderKeys keys;
    QuendaConfig config = configWith("local", {});
    config.style = QStringLiteral("email");
    config.instructions = QStringLiteral("kurz");
    config.dictionary = QStringLiteral("# comment\nkubectl");
    const QJsonObject plain =
        PolishRequest::build(QStringLiteral("r"), std::nullopt, config, std::nullopt, false, keys).toJson();
    EXPECT_EQ(plain.value(QStringLiteral("noteAnswer")), QJsonValue(false));
    EXPECT_FALSE(plain.contains(QStringLiteral("selection")));
    EXPECT_FALSE(plain.contains(QStringLiteral("targetLanguage")));
    EXPECT_EQ(plain.value(QStringLiteral("dictionary")).toString(), config.dictionary);
    EXPECT_EQ(plain.value(QStringLiteral("style")).toString(), QStringLiteral("email"));
    EXPECT_EQ(plain.value(QStringLiteral("instructions")).toString(), QStringLiteral("kurz"));

    const QJsonObject full =
        PolishRequest::build(QStringLiteral("r"), QString(), config, QStringLiteral("fr"), true, keys)
            .toJson();
    EXPECT_EQ(full.value(QStringLiteral("selection")), QJsonValue(QString()));
    EXPECT_EQ(full.value(QStringLiteral("targetLanguage")), QJsonValue(QStringLiteral("fr")));
    EXPECT_EQ(full.value(QStringLiteral("noteAnswer")), QJsonValue(true));
}

TEST_F(PolishRequestTest, SnapshotModeSendsNoKeys)
{
    RunMode::setSnapshot(true);
    FakeProviderKeys keys;
    keys.general = QStringLiteral("sk-g");
    keys.byKind.insert(QStringLiteral("claude"), QStringLiteral("sk-a"));
    const QJsonObject body =
        PolishRequest::build(QStringLiteral("r"), std::nullopt,
                             configWith("openai", {endpoint(kFirst, "claude")}), std::nullopt, false, keys)
            .toJson();
    EXPECT_FALSE(body.contains(QStringLiteral("apiKey")));
    EXPECT_EQ(body.value(QStringLiteral("endpoints")).toArray().size(), 0);
}

TEST_F(PolishRequestTest, PolishGoesToTheConfiguredPortAsJson)
{
    ManualClock clock;
    FakeProviderKeys keys;
    SpeechEngine engine(clock, keys, EngineLocations{});
    FakeEngineServer server;
    server.script("/polish", {200, R"({"text":"Poliert."})"});
    QuendaConfig config = configWith("local", {});
    config.port = server.port();
    QObject context;
    std::optional<EngineResult<QString>> result;
    engine.polish(QStringLiteral("poliert"), QStringLiteral("sel"), config, std::nullopt, true, &context,
                  [&](const EngineResult<QString>& r) { result = r; });
    ASSERT_TRUE(QTest::qWaitFor([&] { return result.has_value(); }, 5000));
    ASSERT_TRUE(result->ok());
    EXPECT_EQ(result->value(), QStringLiteral("Poliert."));
    const RecordedRequest& request = server.requests().front();
    EXPECT_EQ(request.target, "/polish");
    EXPECT_EQ(request.headers.value("content-type"), "application/json");
    const QJsonObject sent = QJsonDocument::fromJson(request.body).object();
    EXPECT_EQ(sent.value(QStringLiteral("raw")).toString(), QStringLiteral("poliert"));
    EXPECT_EQ(sent.value(QStringLiteral("selection")).toString(), QStringLiteral("sel"));
}

} // namespace
