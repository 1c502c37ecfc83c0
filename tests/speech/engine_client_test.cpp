#include "fake_engine_server.h"
#include "fake_provider_keys.h"
#include "manual_clock.h"
#include "qstring_printer.h"
#include "speech_engine.h"
#include "support/temp_support_dir.h"

#include "core/l10n.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QTcpServer>
#include <QTest>

#include <gtest/gtest.h>

namespace {

constexpr int kWaitMs = 5000;

template <typename T> class Outcome {
public:
    SpeechEngine::Done<T> sink()
    {
        return [this](const EngineResult<T>& result) { m_result = result; };
    }
    bool arrived() const { return m_result.has_value(); }
    const EngineResult<T>& get() const { return *m_result; }

private:
    std::optional<EngineResult<T>> m_result;
};

// Ten seconds of 16 kHz mono 16-bit silence behind a RIFF header.
QByteArray wavOfSeconds(int seconds)
{
    QByteArray wav("RIFF....WAVEfmt ");
    wav += QByteArray(16000 * 2 * seconds + 20, '\0');
    return wav;
}

class EngineClientTest : public TempSupportDir {
protected:
    ManualClock m_clock;
    FakeProviderKeys m_keys;
    SpeechEngine m_engine{m_clock, m_keys, EngineLocations{}};
    FakeEngineServer m_server;
    QObject m_context;

    Outcome<QString> transcribe(const QString& language = QStringLiteral("de"))
    {
        Outcome<QString> outcome;
        m_engine.transcribe(wavOfSeconds(1), language, m_server.port(), &m_context, outcome.sink());
        EXPECT_TRUE(QTest::qWaitFor([&] { return outcome.arrived(); }, kWaitMs));
        return outcome;
    }
};

struct QueryCase {
    const char* language;
    const char* target;
};

class TranscribeQuery : public EngineClientTest, public ::testing::WithParamInterface<QueryCase> {};

// Catches a query item left out when empty, or a value whose "+" or "&" the engine would misread.
TEST_P(TranscribeQuery, SendsTheRecordingAsRawBodyWithOneLanguageItem)
{
    m_server.script("/transcribe", {200, R"({"text":"ok"})"});
    const QByteArray wav = wavOfSeconds(1);
    Outcome<QString> outcome;
    m_engine.transcribe(wav, QString::fromUtf8(GetParam().language), m_server.port(), &m_context,
                        outcome.sink());
    ASSERT_TRUE(QTest::qWaitFor([&] { return outcome.arrived(); }, kWaitMs));

    ASSERT_EQ(m_server.requests().size(), 1);
    const RecordedRequest& request = m_server.requests().front();
    EXPECT_EQ(request.method, "POST");
    EXPECT_EQ(request.target, GetParam().target);
    EXPECT_EQ(request.headers.value("host"), "127.0.0.1:" + QByteArray::number(m_server.port()));
    EXPECT_EQ(request.headers.value("content-type"), "application/octet-stream");
    EXPECT_EQ(request.body, wav);
}

INSTANTIATE_TEST_SUITE_P(
    Languages, TranscribeQuery,
    ::testing::Values(QueryCase{"de", "/transcribe?language=de"}, QueryCase{"", "/transcribe?language="},
                      QueryCase{"pt BR&x=1+2", "/transcribe?language=pt%20BR%26x%3D1%2B2"}));

struct ReplyCase {
    const char* name;
    int status;
    const char* body;
    const char* extraHeaders;
    std::optional<EngineError::Kind> failure;
    const char* text; // the result, or the error message when it is the engine's
};

class TranscribeReply : public EngineClientTest, public ::testing::WithParamInterface<ReplyCase> {};

TEST_P(TranscribeReply, GivesTheTextOrTheEnginesOwnError)
{
    const ReplyCase& c = GetParam();
    m_server.script("/transcribe", {c.status, c.body, c.extraHeaders});
    const Outcome<QString> outcome = transcribe();
    ASSERT_TRUE(outcome.arrived());
    if (!c.failure) {
        ASSERT_TRUE(outcome.get().ok()) << outcome.get().error().message.toStdString();
        EXPECT_EQ(outcome.get().value(), QString::fromUtf8(c.text));
        return;
    }
    ASSERT_FALSE(outcome.get().ok());
    EXPECT_EQ(outcome.get().error().kind, *c.failure);
    if (*c.failure == EngineError::Kind::Engine)
        EXPECT_EQ(outcome.get().error().message, QString::fromUtf8(c.text));
    else
        EXPECT_EQ(outcome.get().error().message, L10n::s(QStringLiteral("engine.badReply")));
}

const ReplyCase kReplies[] = {
    {"TextWithLanguage", 200, R"({"text":"Grüß dich","language":"de"})", "", std::nullopt, "Grüß dich"},
    {"TextAlone", 200, R"({"text":"hallo"})", "", std::nullopt, "hallo"},
    {"CreatedCountsAsSuccess", 201, R"({"text":"x"})", "", std::nullopt, "x"},
    {"MissingText", 200, R"({"language":"de"})", "", EngineError::Kind::Decoding, ""},
    {"TextOfWrongType", 200, R"({"text":5})", "", EngineError::Kind::Decoding, ""},
    {"NullText", 200, R"({"text":null})", "", EngineError::Kind::Decoding, ""},
    {"LanguageOfWrongType", 200, R"({"text":"a","language":1})", "", EngineError::Kind::Decoding, ""},
    {"NotJson", 200, "hallo", "", EngineError::Kind::Decoding, ""},
    {"ArrayBody", 200, R"(["text"])", "", EngineError::Kind::Decoding, ""},
    {"ErrorBodyUntranslated", 404, R"({"error":"Modell nicht gefunden"})", "", EngineError::Kind::Engine,
     "Modell nicht gefunden"},
    {"EmptyBody503", 503, "", "", EngineError::Kind::Engine, "Engine-Fehler 503"},
    {"HtmlBody503", 503, "<html>busy</html>", "", EngineError::Kind::Engine, "Engine-Fehler 503"},
    {"ErrorOfWrongType", 500, R"({"error":7})", "", EngineError::Kind::Engine, "Engine-Fehler 500"},
    {"RedirectNotFollowed", 307, "", "Location: http://127.0.0.1:9/elsewhere\r\n", EngineError::Kind::Engine,
     "Engine-Fehler 307"},
};

INSTANTIATE_TEST_SUITE_P(Replies, TranscribeReply, ::testing::ValuesIn(kReplies),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(EngineClientTest, RefusedConnectionFailsAsTransportError)
{
    quint16 closedPort = 0;
    {
        QTcpServer probe;
        probe.listen(QHostAddress::LocalHost, 0);
        closedPort = probe.serverPort();
    }
    Outcome<QString> outcome;
    m_engine.transcribe(wavOfSeconds(1), QStringLiteral("de"), closedPort, &m_context, outcome.sink());
    ASSERT_TRUE(QTest::qWaitFor([&] { return outcome.arrived(); }, kWaitMs));
    ASSERT_FALSE(outcome.get().ok());
    EXPECT_EQ(outcome.get().error().kind, EngineError::Kind::Transport);
    EXPECT_FALSE(outcome.get().error().message.isEmpty());
}

TEST_F(EngineClientTest, SilentEngineTimesOutAfterSixtySeconds)
{
    m_server.script("/transcribe", ScriptedReply::held());
    Outcome<QString> outcome;
    m_engine.transcribe(wavOfSeconds(1), QStringLiteral("de"), m_server.port(), &m_context, outcome.sink());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !m_server.requests().isEmpty(); }, kWaitMs));

    m_clock.advance(EngineClient::kRequestTimeoutMs - 1);
    QCoreApplication::processEvents();
    EXPECT_FALSE(outcome.arrived());
    m_clock.advance(1);
    ASSERT_TRUE(QTest::qWaitFor([&] { return outcome.arrived(); }, kWaitMs));
    ASSERT_FALSE(outcome.get().ok());
    EXPECT_EQ(outcome.get().error().kind, EngineError::Kind::TimedOut);
}

class InvalidPort : public EngineClientTest, public ::testing::WithParamInterface<qint64> {};

// Catches a malformed address such as "127.0.0.1:70000" or "127.0.0.1:-1" being requested.
TEST_P(InvalidPort, FailsEveryRequestWithoutSendingIt)
{
    const qint64 port = GetParam();
    EXPECT_FALSE(SpeechEngine::endpoint(QStringLiteral("/health"), port).has_value());
    Outcome<QString> transcribed;
    Outcome<QString> polished;
    Outcome<CorrectionModelBody> looked;
    QuendaConfig config = QuendaConfig::standard();
    config.port = port;
    m_engine.transcribe(wavOfSeconds(1), QStringLiteral("de"), port, &m_context, transcribed.sink());
    m_engine.polish(QStringLiteral("raw"), std::nullopt, config, std::nullopt, false, &m_context,
                    polished.sink());
    m_engine.correctionModel(QStringLiteral("k"), QStringLiteral("u"), port, &m_context, looked.sink());
    m_engine.prewarm(port);
    EXPECT_FALSE(transcribed.arrived()) << "reported before the caller returned";
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return transcribed.arrived() && polished.arrived() && looked.arrived(); }, kWaitMs));
    for (const EngineError& error :
         {transcribed.get().error(), polished.get().error(), looked.get().error()}) {
        EXPECT_EQ(error.kind, EngineError::Kind::InvalidPort);
        EXPECT_TRUE(error.message.contains(QString::number(port))) << error.message.toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(Ports, InvalidPort, ::testing::Values(0, -1, 65536, 70000));

TEST(EngineValidate, ReplyThatIsNotHttpCountsAsStatus500)
{
    EXPECT_EQ(EngineClient::validate("", std::nullopt)->message, QStringLiteral("Engine-Fehler 500"));
    EXPECT_EQ(EngineClient::validate(R"({"error":"kaputt"})", std::nullopt)->message,
              QStringLiteral("kaputt"));
    EXPECT_FALSE(EngineClient::validate("garbage", 299).has_value());
    EXPECT_TRUE(EngineClient::validate("", 300).has_value());
}

TEST_F(EngineClientTest, WarmupAndShutdownPostAnEmptyBodyWithoutContentType)
{
    m_server.script("/warmup", {500, "{}"});
    m_engine.prewarm(m_server.port());
    EngineClient client(m_clock);
    client.requestShutdown(m_server.port());
    ASSERT_TRUE(QTest::qWaitFor([&] { return m_server.requests().size() == 2; }, kWaitMs));
    for (const RecordedRequest& request : m_server.requests()) {
        EXPECT_EQ(request.method, "POST");
        EXPECT_FALSE(request.headers.contains("content-type")) << request.target.constData();
        EXPECT_TRUE(request.body.isEmpty());
    }
    QStringList targets;
    for (const RecordedRequest& request : m_server.requests())
        targets << QString::fromLatin1(request.target);
    targets.sort();
    EXPECT_EQ(targets, (QStringList{QStringLiteral("/shutdown"), QStringLiteral("/warmup")}));
}

struct ModelCase {
    const char* name;
    const char* body;
    bool ok;
    const char* model;
    std::optional<QStringList> models;
};

class CorrectionModelReply : public EngineClientTest, public ::testing::WithParamInterface<ModelCase> {};

TEST_P(CorrectionModelReply, SendsKeyAndUrlAsGivenAndDecodesStrictly)
{
    const ModelCase& c = GetParam();
    m_server.script("/correction-model", {200, c.body});
    Outcome<CorrectionModelBody> outcome;
    m_engine.correctionModel(QStringLiteral(" sk-1 "), QStringLiteral(" https://llm.local/v1 "),
                             m_server.port(), &m_context, outcome.sink());
    ASSERT_TRUE(QTest::qWaitFor([&] { return outcome.arrived(); }, kWaitMs));

    const RecordedRequest& request = m_server.requests().front();
    EXPECT_EQ(request.target, "/correction-model");
    EXPECT_EQ(request.headers.value("content-type"), "application/json");
    EXPECT_EQ(QJsonDocument::fromJson(request.body).object(),
              (QJsonObject{{QStringLiteral("apiKey"), QStringLiteral(" sk-1 ")},
                           {QStringLiteral("baseURL"), QStringLiteral(" https://llm.local/v1 ")}}));
    ASSERT_EQ(outcome.get().ok(), c.ok);
    if (c.ok)
        EXPECT_EQ(outcome.get().value(), (CorrectionModelBody{QString::fromUtf8(c.model), c.models}));
    else
        EXPECT_EQ(outcome.get().error().kind, EngineError::Kind::Decoding);
}

INSTANTIATE_TEST_SUITE_P(
    Replies, CorrectionModelReply,
    ::testing::Values(ModelCase{"WithList", R"({"model":"m1","models":["m1","m2"]})", true, "m1",
                                QStringList{QStringLiteral("m1"), QStringLiteral("m2")}},
                      ModelCase{"WithoutList", R"({"model":"m1"})", true, "m1", std::nullopt},
                      ModelCase{"ListWithNumber", R"({"model":"m1","models":["m1",2]})", false, "",
                                std::nullopt},
                      ModelCase{"ListNotArray", R"({"model":"m1","models":"m1"})", false, "", std::nullopt},
                      ModelCase{"NoModel", R"({"models":[]})", false, "", std::nullopt}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(EngineClientTest, AnswerForADestroyedContextIsDropped)
{
    m_server.script("/transcribe", {200, R"({"text":"late"})"});
    auto context = std::make_unique<QObject>();
    bool called = false;
    m_engine.transcribe(wavOfSeconds(1), QStringLiteral("de"), m_server.port(), context.get(),
                        [&](const EngineResult<QString>&) { called = true; });
    Outcome<QString> witness;
    context.reset();
    m_engine.transcribe(wavOfSeconds(1), QStringLiteral("de"), m_server.port(), &m_context, witness.sink());
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return witness.arrived() && m_server.requests().size() == 2; }, kWaitMs));
    QCoreApplication::processEvents();
    EXPECT_FALSE(called);
}

struct HealthCase {
    const char* body;
    bool decodes;
};

class HealthDecoding : public ::testing::TestWithParam<HealthCase> {};

// A "ready" of the wrong type must count as no answer, not as "not ready".
TEST_P(HealthDecoding, RequiresABooleanReadyAndTypedOptionals)
{
    EXPECT_EQ(HealthBody::decode(GetParam().body).has_value(), GetParam().decodes) << GetParam().body;
}

INSTANTIATE_TEST_SUITE_P(Bodies, HealthDecoding,
                         ::testing::Values(HealthCase{R"({"ready":true})", true},
                                           HealthCase{R"({"ready":false,"error":"x","model":"m","polish":true,
                                                      "polishError":"p","extra":[1]})",
                                                      true},
                                           HealthCase{R"({"ready":"yes"})", false},
                                           HealthCase{R"({"ready":null})", false},
                                           HealthCase{R"({"error":"loading"})", false},
                                           HealthCase{R"({"ready":true,"polish":"no"})", false},
                                           HealthCase{R"({"ready":true,"error":3})", false},
                                           HealthCase{"", false}));

} // namespace
