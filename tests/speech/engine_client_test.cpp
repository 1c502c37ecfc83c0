#include "fake_engine_server.h"
#include "fake_provider_keys.h"
#include "platform/fake/manual_clock.h"
#include "qstring_printer.h"
#include "speech/engine_stream.h"
#include "speech/speech_engine.h"
#include "support/temp_support_dir.h"

#include "core/text/l10n.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

#include <gtest/gtest.h>

namespace {

using Kind = EngineError::Kind;
using namespace Qt::Literals::StringLiterals;

const QByteArray kWav = QByteArray("RIFF....WAVEfmt ") + QByteArray(32'000, '\0');

// Collects the answers of one request; a second answer is a fault of its own.
template <typename T> struct Answer {
    int calls = 0;
    std::optional<EngineResult<T>> result;

    SpeechEngine::Done<T> sink()
    {
        return [this](const EngineResult<T>& r) { ++calls, result = r; };
    }
    const EngineResult<T>& await()
    {
        EXPECT_TRUE(QTest::qWaitFor([this] { return calls > 0; }, 5000));
        QCoreApplication::processEvents();
        EXPECT_EQ(calls, 1);
        return *result;
    }
};

class EngineClientTest : public TempSupportDir {
protected:
    EngineClientTest() { m_config.port = m_server.port(); }
    void SetUp() override
    {
        TempSupportDir::SetUp();
        // The in-test engine proves itself as ours does; until then nothing would be sent to it.
        m_server.proveWith(m_engine.secret());
        m_server.script("/health", {200, R"({"ready":true})"});
        m_engine.poll();
        ASSERT_TRUE(QTest::qWaitFor([this] { return m_engine.ready(); }, 5000));
        m_server.forgetRequests();
    }

    ManualClock m_clock;
    FakeProviderKeys m_keys;
    // The configuration in force, whose port the engine's requests go to.
    QuendaConfig m_config = QuendaConfig::standard();
    SpeechEngine m_engine{m_clock, [this] { return m_config; }, m_keys, EngineLocations{}};
    FakeEngineServer m_server;
    QObject m_context;
};

struct TranscribeCase {
    const char* name;
    int status;
    QByteArray body;
    std::optional<Kind> failure;
    // The result, or the message of an Engine failure; "%" is the table's text for the status code.
    const char* text;
    const char* language = "de";
    const char* query = "de"; // the language as it must appear in the query
    QByteArray headers = {};
    const char* heard = nullptr; // the words as heard, when the engine tells them apart
};

class Transcribe : public EngineClientTest, public ::testing::WithParamInterface<TranscribeCase> {};

// Sent without a context, whose answer must still come: only a destroyed context drops it.
TEST_P(Transcribe, SendsTheRawRecordingAndGivesTheTextOrTheEnginesOwnMessage)
{
    const TranscribeCase& c = GetParam();
    m_server.script("/transcribe", {c.status, c.body, c.headers});
    Answer<Transcript> answer;
    m_engine.transcribe(kWav, QString::fromUtf8(c.language), nullptr, answer.sink());
    const EngineResult<Transcript>& result = answer.await();

    const RecordedRequest& request = m_server.requests().front();
    EXPECT_EQ(request.target, QByteArray("/transcribe?language=") + c.query);
    EXPECT_EQ(request.headers.value("content-type"), "application/octet-stream");
    EXPECT_EQ(request.body, kWav);
    EXPECT_EQ(request.headers.value("quenda-token"), m_engine.secret().token());
    const QString message = c.failure == Kind::Decoding ? L10n::s(u"engine.badReply"_s)
                            : QString::fromUtf8(c.text) == u"%"_s
                                ? L10n::format(u"engine.errorCode"_s, {c.status})
                                : QString::fromUtf8(c.text);
    ASSERT_EQ(result.ok(), !c.failure);
    if (result.ok())
        EXPECT_EQ(result.value(),
                  (Transcript{message, c.heard ? QString::fromUtf8(c.heard) : message, false, std::nullopt}));
    else
        EXPECT_TRUE(result.error() == (EngineError{*c.failure, message}))
            << result.error().message.toStdString();
}

// clang-format off
const TranscribeCase kTranscribeCases[] = {
    // "+", "&" or "=" left as they are would change what the engine reads.
    {"TextWithLanguage", 200, R"({"text":"Grüß dich","language":"de"})", std::nullopt, "Grüß dich", "pt BR&x=1+2", "pt%20BR%26x%3D1%2B2"},
    {"TextAloneEmptyLanguage", 200, R"({"text":"hallo"})", std::nullopt, "hallo", "", ""},
    {"WrittenTextAndTheWordsHeard", 200, R"({"text":"Hello there.","raw":"hello there"})", std::nullopt, "Hello there.", "de", "de", {}, "hello there"},
    {"HeardNotAString", 200, R"({"text":"hallo","raw":5})", Kind::Decoding, ""},
    {"MissingText", 200, R"({"language":"de"})", Kind::Decoding, ""},
    {"NotJson", 200, "hallo", Kind::Decoding, ""},
    // A reply past the size limit is cut off rather than read into memory whole.
    {"TooLarge", 200, QByteArray(EngineClient::kMaxReplyBytes, ' ') + R"({"text":"x"})", Kind::Decoding, ""},
    {"ErrorBodyUntranslated", 404, R"({"error":"Modell nicht gefunden"})", Kind::Engine, "Modell nicht gefunden"},
    {"EmptyBody503", 503, "", Kind::Engine, "%"},
    // Following it would carry a /polish body with provider keys away from the loopback engine.
    {"RedirectNotFollowed", 307, "", Kind::Engine, "%", "de", "de", "Location: http://127.0.0.1:9/elsewhere\r\n"},
    // Read as an empty "error", the failure would show no text at all.
    {.name = "ErrorBodyWithoutError", .status = 500, .body = R"({"message":"Modell nicht gefunden"})", .failure = Kind::Engine, .text = "%"},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(Replies, Transcribe, ::testing::ValuesIn(kTranscribeCases),
                         [](const auto& info) { return std::string(info.param.name); });

struct SpeechServerRow {
    const char* name;
    AsrEngine engine;
    const char* key;
    QByteArray reply;
    const char* query;   // after "/transcribe?language=de"
    const char* sentKey; // the key header as the engine gets it, "" for none
    Transcript transcript;
};

// clang-format off
const SpeechServerRow kSpeechServerRows[] = {
    {.name = "TheServerWritesWithItsKey", .engine = AsrEngine::Whisper, .key = " sk-s \n", .reply = R"({"text":"Hallo.","raw":"hallo","recogniser":"server"})", .query = "&server=http%3A%2F%2F10.0.0.5%3A8080%2Fv1&model=large%20v3", .sentKey = "sk-s", .transcript = {u"Hallo."_s, u"hallo"_s, true, std::nullopt}},
    {.name = "TheBuiltInStandsInAndSaysWhy", .engine = AsrEngine::Whisper, .key = "", .reply = R"~({"text":"Hello.","raw":"hello","recogniser":"built-in","serverError":"refused (401)"})~", .query = "&server=http%3A%2F%2F10.0.0.5%3A8080%2Fv1&model=large%20v3", .sentKey = "", .transcript = {u"Hello."_s, u"hello"_s, false, u"refused (401)"_s}},
    // The key of a server that is not in use stays home.
    {.name = "TheBuiltInAloneGetsNoServerNorKey", .engine = AsrEngine::Whistle, .key = "sk-s", .reply = R"({"text":"Hello.","raw":"hello"})", .query = "", .sentKey = "", .transcript = {u"Hello."_s, u"hello"_s, false, std::nullopt}},
};
// clang-format on

class SpeechServerRoute : public EngineClientTest, public ::testing::WithParamInterface<SpeechServerRow> {};

TEST_P(SpeechServerRoute, TheEngineLearnsTheServerItsModelAndKeyAndTellsWhoWrote)
{
    const SpeechServerRow& row = GetParam();
    m_config.asrEngine = row.engine;
    m_config.speechBaseURL = u" http://10.0.0.5:8080/v1 "_s;
    m_config.speechModel = u"large v3"_s;
    m_keys.speech = QString::fromUtf8(row.key);
    m_server.script("/transcribe", {200, row.reply});
    Answer<Transcript> answer;
    m_engine.transcribe(kWav, u"de"_s, nullptr, answer.sink());
    const EngineResult<Transcript>& result = answer.await();

    const RecordedRequest& request = m_server.requests().front();
    EXPECT_EQ(request.target, QByteArray("/transcribe?language=de") + row.query);
    EXPECT_EQ(request.headers.value("quenda-speech-key"), QByteArray(row.sentKey));
    ASSERT_TRUE(result.ok());
    EXPECT_EQ(result.value(), row.transcript);
}

INSTANTIATE_TEST_SUITE_P(Rows, SpeechServerRoute, ::testing::ValuesIn(kSpeechServerRows),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(EngineClientTest, TheCheckAsksTheServerSetWithItsHeldKey)
{
    m_config.speechBaseURL = u"https://speech.example.org/v1 "_s;
    m_config.speechModel = u"whisper-1"_s;
    m_keys.speech = u"sk-s"_s;
    m_server.script("/speech-check", {200, R"({"text":""})"});
    Answer<QString> answer;
    m_engine.checkSpeechServer(nullptr, answer.sink());
    ASSERT_TRUE(answer.await().ok());
    EXPECT_EQ(answer.await().value(), QString());
    const QJsonObject sent = QJsonDocument::fromJson(m_server.requests().front().body).object();
    EXPECT_EQ(sent, (QJsonObject{{u"baseURL"_s, u"https://speech.example.org/v1"_s},
                                 {u"model"_s, u"whisper-1"_s},
                                 {u"apiKey"_s, u"sk-s"_s}}));
}

TEST(EngineErrorText, AReplyWithoutAnErrorBodyIsShownInTheInterfacesLanguage)
{
    // clang-format off
    const struct { const char* language; const char* shown; } rows[] = {
        {.language = "en", .shown = "Speech engine error 503"},
        {.language = "de", .shown = "Fehler der Sprach-Engine 503"},
    };
    // clang-format on
    for (const auto& row : rows) {
        L10n::install({{QStringLiteral(QUENDA_SOURCE_DIR "/resources/Languages")},
                       {QString::fromLatin1(row.language)}});
        const std::optional<EngineError> error = EngineClient::validate({}, 503);
        ASSERT_TRUE(error.has_value());
        EXPECT_EQ(error->message, QString::fromUtf8(row.shown)) << row.language;
    }
    L10n::install(L10n::desktopSources());
}

TEST_F(EngineClientTest, SilentEngineTimesOutAfterEachRequestsLimit)
{
    m_server.script("/transcribe", {.hold = true});
    m_server.script("/health", {.hold = true});
    EngineClient client(m_clock);
    Answer<Transcript> text;
    std::optional<std::optional<HealthBody>> health;
    client.transcribe(kWav, u"de"_s, std::nullopt, {}, m_server.port(), &m_context, text.sink());
    client.health(m_server.port(), &m_context, [&](const EngineResult<HealthBody>& h) {
        health = h.ok() ? std::optional(h.value()) : std::nullopt;
    });
    ASSERT_TRUE(QTest::qWaitFor([&] { return m_server.requests().size() == 2; }, 5000));

    m_clock.advance(EngineClient::kPollTimeoutMs - 1);
    QCoreApplication::processEvents();
    EXPECT_FALSE(health.has_value());
    m_clock.advance(1);
    ASSERT_TRUE(QTest::qWaitFor([&] { return health.has_value(); }, 5000));
    EXPECT_FALSE(health->has_value());

    m_clock.advance(EngineClient::kRequestTimeoutMs - EngineClient::kPollTimeoutMs - 1);
    QCoreApplication::processEvents();
    EXPECT_EQ(text.calls, 0);
    m_clock.advance(1);
    EXPECT_EQ(text.await().error().kind, Kind::TimedOut);
}

class InvalidPort : public EngineClientTest, public ::testing::WithParamInterface<qint64> {};

// Catches a malformed address such as "127.0.0.1:70000" being requested, or no answer at all.
TEST_P(InvalidPort, FailsEveryRequestLaterWithoutSendingIt)
{
    const qint64 port = GetParam();
    m_config.port = port;
    Answer<Transcript> transcribed;
    Answer<QString> polished;
    Answer<CorrectionModelBody> looked;
    m_engine.transcribe(kWav, u"de"_s, &m_context, transcribed.sink());
    m_engine.polish(u"raw"_s, std::nullopt, m_config, std::nullopt, false, &m_context, polished.sink());
    m_engine.correctionModel(u"k"_s, u"u"_s, nullptr, looked.sink());
    m_engine.prewarm();
    EXPECT_EQ(transcribed.calls, 0) << "reported before the caller returned";
    for (const EngineError& error :
         {transcribed.await().error(), polished.await().error(), looked.await().error()}) {
        EXPECT_EQ(error.kind, Kind::InvalidPort);
        EXPECT_TRUE(error.message.contains(QString::number(port))) << error.message.toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(Ports, InvalidPort, ::testing::Values(0, 65536));

struct HealthPortRow {
    const char* name;
    qint64 port;
    bool aboveTheListener = false; // the port is the listener's plus 65536, which a 16-bit cast wraps onto it
};

class HealthPort : public EngineClientTest, public ::testing::WithParamInterface<HealthPortRow> {};

// Catches a health probe that asks an address no engine can have, or that a port cut to 16 bits
// sends to whatever listens on the wrapped port.
TEST_P(HealthPort, RejectsPortsOutside1To65535LaterWithoutAsking)
{
    m_server.script("/health", {200, R"({"ready":true})"});
    const qint64 port = GetParam().port + (GetParam().aboveTheListener ? m_server.port() : 0);
    EngineClient client(m_clock);
    Answer<HealthBody> health;
    client.health(port, &m_context, health.sink());
    EXPECT_EQ(health.calls, 0) << "reported before the caller returned";
    const EngineResult<HealthBody>& result = health.await();
    ASSERT_FALSE(result.ok()) << "answered by the listener on the wrapped port";
    EXPECT_EQ(result.error().kind, Kind::InvalidPort) << result.error().message.toStdString();
    EXPECT_TRUE(result.error().message.contains(QString::number(port)))
        << result.error().message.toStdString();
    EXPECT_TRUE(m_server.requests().isEmpty());
}

const HealthPortRow kHealthPorts[] = {
    {.name = "Zero", .port = 0},
    {.name = "Negative", .port = -1},
    {.name = "JustAbove", .port = 65536},
    {.name = "WrapsOntoTheListener", .port = 65536, .aboveTheListener = true},
};

INSTANTIATE_TEST_SUITE_P(Ports, HealthPort, ::testing::ValuesIn(kHealthPorts),
                         [](const auto& info) { return std::string(info.param.name); });

struct ProofRow {
    const char* name;
    // Makes the in-test engine answer the client's next health request in its own way.
    std::function<void(FakeEngineServer&, EngineClient&)> answer;
    bool proven;
    bool renewedAfterSending = false;
};

class HealthProof : public EngineClientTest, public ::testing::WithParamInterface<ProofRow> {};

// Catches a client that takes any listener on the port for the engine it started: it would send
// that listener every recording and, with a polish request, the provider keys.
TEST_P(HealthProof, OnlyAnAnswerWithTheProofOfTheSecretInForceIsTheEngines)
{
    EngineClient client(m_clock);
    m_server.script("/health", {200, R"({"ready":true})"});
    GetParam().answer(m_server, client);
    Answer<HealthBody> health;
    client.health(m_server.port(), &m_context, health.sink());
    if (GetParam().renewedAfterSending)
        client.renewSecret();
    const EngineResult<HealthBody>& result = health.await();
    EXPECT_EQ(result.ok(), GetParam().proven);
    if (!GetParam().proven) {
        EXPECT_EQ(result.error().kind, Kind::Untrusted);
        EXPECT_EQ(result.error().message, L10n::format(u"engine.portTaken"_s, {m_server.port()}));
    }
}

const ProofRow kProofRows[] = {
    {"Ours", [](FakeEngineServer& s, EngineClient& c) { s.proveWith(c.secret()); }, true},
    {"NoProof", [](FakeEngineServer& s, EngineClient&) { s.proveWith({}); }, false},
    {"AnotherSecretsProof", [](FakeEngineServer& s, EngineClient&) { s.proveWith(EngineSecret()); }, false},
    {"AnEarlierChallengesProof",
     [](FakeEngineServer& s, EngineClient& c) {
         s.proveWith({});
         s.script("/health", {200, R"({"ready":true})",
                              EngineSecret::proofHeader + ": "_ba + c.secret().proof("earlier") + "\r\n"});
     },
     false},
    // An engine of ours told to stop still answers for a moment, with the secret it was given.
    {.name = "SecretRenewedSinceTheRequest",
     .answer = [](FakeEngineServer& s, EngineClient& c) { s.proveWith(c.secret()); },
     .proven = false,
     .renewedAfterSending = true},
    {"AnErrorWithoutProof",
     [](FakeEngineServer& s, EngineClient&) {
         s.proveWith({});
         s.script("/health", {403, R"({"error":"not yours"})"});
     },
     false},
};

INSTANTIATE_TEST_SUITE_P(Answers, HealthProof, ::testing::ValuesIn(kProofRows),
                         [](const auto& info) { return std::string(info.param.name); });

// The engine's own access test holds its derivations to this same vector, as the fake engine
// here proves with the program's code: a proof changed on one side fails a test of that side.
TEST(EngineSecretVector, TokenAndProofAreTheEnginesFixedVector)
{
    const EngineSecret secret(QByteArray("5ec7e7").repeated(11));
    const QByteArray proof = "7d5c5a2c07b8fc5854e39a5559ca0221227193d33434bb49b76ede8b3f2efa43";
    EXPECT_EQ(secret.token(), "d4ea290fb0aefc811213696daa74b2179a5ca46e74c55d4e4cecacde46dc27df");
    EXPECT_EQ(secret.proof("c4a11e"), proof);
    EXPECT_TRUE(secret.proves("c4a11e", proof));
}

TEST_F(EngineClientTest, OtherRequestsSendWhatTheEngineExpects)
{
    m_server.script("/warmup", {500, "{}"});
    m_server.script("/correction-model", {200, R"({"model":"m1","models":["m1","m2"]})"});
    EngineClient client(m_clock);
    client.requestShutdown(m_server.port());
    m_engine.prewarm();
    Answer<CorrectionModelBody> model;
    m_engine.correctionModel(u" sk-1 "_s, u" https://llm.local/v1 "_s, &m_context, model.sink());
    EXPECT_EQ(model.await().value(), (CorrectionModelBody{u"m1"_s, QStringList{u"m1"_s, u"m2"_s}}));
    EXPECT_FALSE(CorrectionModelBody::decode(R"({"model":"m1","models":["m1",2]})").has_value());
    ASSERT_TRUE(QTest::qWaitFor([&] { return m_server.requests().size() == 3; }, 5000));
    QList<QByteArray> seen;
    for (const RecordedRequest& r : m_server.requests()) {
        seen << r.method + ' ' + r.target + ' ' + r.headers.value("content-type") + ' ' + r.body;
        EXPECT_EQ(r.headers.value("quenda-token"),
                  (r.target == "/shutdown" ? client.secret() : m_engine.secret()).token())
            << r.target.toStdString();
    }
    std::sort(seen.begin(), seen.end());
    // Key and address go out exactly as given; /warmup and /shutdown carry no body and no Content-Type.
    EXPECT_EQ(seen, (QList<QByteArray>{R"(POST /correction-model application/json {"apiKey":" sk-1 ",)"
                                       R"("baseURL":" https://llm.local/v1 "})",
                                       "POST /shutdown  ", "POST /warmup  "}));
}

CorrectionEndpoint endpoint(const char* kind, const char* baseURL = "", bool enabled = true)
{
    return {QUuid::createUuid(), QString::fromLatin1(kind), u"auto"_s, QString::fromUtf8(baseURL), enabled};
}

QuendaConfig configWith(const char* provider, auto... endpoints)
{
    QuendaConfig config = QuendaConfig::standard();
    config.polishProvider = PolishProviderText::table.decode(QString::fromLatin1(provider));
    config.style = u"email"_s;
    config.instructions = u"kurz"_s;
    config.dictionary = u"# comment\nkubectl"_s;
    config.correctionEndpoints = {endpoints...};
    config.correctionFallback = false;
    config.syncLegacyCorrectionFields();
    return config;
}

struct PolishCase {
    const char* name;
    QuendaConfig config;
    // Only these members of the sent body are compared; a null member must be absent.
    const char* expected;
    const char* generalKey = "";
    const char* kind = ""; // the one kind of endpoint with a stored key
    const char* key = "";
    bool withSelectionAndTarget = false; // "" and "fr", and an answer for a note
};

class PolishBodyTest : public EngineClientTest, public ::testing::WithParamInterface<PolishCase> {};

TEST_P(PolishBodyTest, SendsOnlyUsableEndpointsAndStoredKeysAsJson)
{
    const PolishCase& c = GetParam();
    m_keys.general = QString::fromUtf8(c.generalKey);
    m_keys.byKind.insert(QString::fromLatin1(c.kind), QString::fromUtf8(c.key));
    m_server.script("/polish", {200, R"({"text":"Poliert."})"});
    Answer<QString> answer;
    const bool given = c.withSelectionAndTarget;
    m_engine.polish(u"raw"_s, given ? std::optional(QString()) : std::nullopt, c.config,
                    given ? std::optional(u"fr"_s) : std::nullopt, given, &m_context, answer.sink());
    EXPECT_EQ(answer.await().value(), u"Poliert."_s);

    const RecordedRequest& request = m_server.requests().front();
    EXPECT_EQ(request.headers.value("content-type"), "application/json");
    const QJsonObject body = QJsonDocument::fromJson(request.body).object();
    const QJsonObject expected = QJsonDocument::fromJson(c.expected).object();
    for (auto it = expected.begin(); it != expected.end(); ++it)
        EXPECT_EQ(body.value(it.key()), it->isNull() ? QJsonValue(QJsonValue::Undefined) : *it)
            << it.key().toStdString() << " in " << request.body.toStdString();
}

const PolishCase kPolishCases[] = {
    {"LocalProviderSendsTheGeneralKeyAndTheSettings", configWith("local", endpoint("chatgpt")),
     R"({"raw":"raw","style":"email","instructions":"kurz","dictionary":"# comment\nkubectl",
         "provider":"local","apiKey":"sk-g","openAIModel":null,"baseURL":null,"endpoints":[],
         "noteAnswer":false,"selection":null,"targetLanguage":null})",
     " sk-g\n"},
    {"OpenAIWithoutKeysSendsNoEndpoints", configWith("openai", endpoint("chatgpt")),
     R"({"apiKey":null,"openAIModel":"auto","baseURL":"https://api.openai.com/v1","endpoints":[]})"},
    {"ClaudeKeyTrimmedWithItsApiBase", configWith("openai", endpoint("claude")),
     R"({"endpoints":[{"model":"auto","apiKey":"sk-a","baseURL":"https://api.anthropic.com/v1","kind":"claude"}]})",
     "", "claude", " sk-a "},
    {"ClaudeBlankKeyLeftOut", configWith("openai", endpoint("claude")), R"({"endpoints":[]})", "", "claude",
     "  \t"},
    {"CustomTrimmedWithoutKey", configWith("openai", endpoint("custom", "  http://10.0.0.2:8080/v1 \n")),
     R"({"endpoints":[{"model":"auto","baseURL":"http://10.0.0.2:8080/v1","kind":"custom"}]})"},
    {"CustomBlankBaseLeftOut", configWith("openai", endpoint("custom", "   ")), R"({"endpoints":[]})", "",
     "custom", "sk-x"},
    {"FallbackOffSendsOnlyTheFirstEnabled",
     configWith("openai", endpoint("custom", "http://a/v1", false), endpoint("custom", "http://b/v1"),
                endpoint("custom", "http://c/v1")),
     R"({"endpoints":[{"model":"auto","baseURL":"http://b/v1","kind":"custom"}]})"},
    {"SelectionTargetAndNoteWhenGiven", configWith("local"),
     R"({"selection":"","targetLanguage":"fr","noteAnswer":true})", "", "", "", true},
};

INSTANTIATE_TEST_SUITE_P(Cases, PolishBodyTest, ::testing::ValuesIn(kPolishCases),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace

struct CancelCase {
    const char* name;
    QByteArray path;
    std::function<void(SpeechEngine&, QObject* context, SpeechEngine::Done<QString>)> send;
};

class CancelByContext : public EngineClientTest, public ::testing::WithParamInterface<CancelCase> {};

// A cancelled dictation must not leave the engine transcribing or polishing for nobody.
TEST_P(CancelByContext, DestroyingTheContextClosesTheConnectionAndNeverAnswers)
{
    const CancelCase& c = GetParam();
    m_server.script(c.path, {.hold = true});
    auto context = std::make_unique<QObject>();
    int calls = 0;
    c.send(m_engine, context.get(), [&](const EngineResult<QString>&) { ++calls; });
    ASSERT_TRUE(QTest::qWaitFor([&] { return m_server.requests().size() == 1; }, 5000));

    context.reset();
    ASSERT_TRUE(QTest::qWaitFor([&] { return m_server.abandoned() == 1; }, 5000)) << "still connected";
    ASSERT_TRUE(QTest::qWaitFor([&] { return m_clock.pendingCount() == 0; }, 5000)) << "time-out kept";
    EXPECT_EQ(calls, 0);
}

// A recording as the recorder writes it: its samples behind a 44-byte header.
const QByteArray kPcm = QByteArray(6400, '\1') + QByteArray(6400, '\2');
const QByteArray kRecording =
    "RIFF" + QByteArray(4, '\0') + "WAVEfmt " + QByteArray(20, '\0') + "data" + QByteArray(4, '\0') + kPcm;

// clang-format off
const CancelCase kCancelCases[] = {
    {.name = "transcribe", .path = "/transcribe", .send = [](SpeechEngine& engine, QObject* context, SpeechEngine::Done<QString> done) { engine.transcribe(kWav, u"de"_s, context, [done](const EngineResult<Transcript>& r) { done(r.ok() ? EngineResult<QString>(r.value().text) : r.error()); }); }},
    {.name = "polish", .path = "/polish", .send = [](SpeechEngine& engine, QObject* context, SpeechEngine::Done<QString> done) { engine.polish(u"raw"_s, std::nullopt, QuendaConfig::standard(), std::nullopt, false, context, std::move(done)); }},
    // Escape while the recording still runs, or while its end is decoded.
    {.name = "streamWhileRecording", .path = "/stream", .send = [](SpeechEngine& engine, QObject* context, SpeechEngine::Done<QString>) { engine.openStream(u"en"_s, context)->append(kPcm); }},
    {.name = "streamAtItsEnd", .path = "/stream", .send = [](SpeechEngine& engine, QObject* context, SpeechEngine::Done<QString> done) { engine.transcribeStream(engine.openStream(u"en"_s, context), kRecording, u"en"_s, context, [done](const EngineResult<Transcript>& r) { done(r.ok() ? EngineResult<QString>(r.value().text) : r.error()); }); }},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(Requests, CancelByContext, ::testing::ValuesIn(kCancelCases),
                         [](const auto& info) { return std::string(info.param.name); });

namespace {

struct StreamRow {
    const char* name;
    ScriptedReply stream; // what /stream answers
    bool whole;           // the whole recording went to /transcribe after all
    std::optional<Kind> failure = std::nullopt;
};

class StreamRoute : public EngineClientTest, public ::testing::WithParamInterface<StreamRow> {};

// Only what the stream did not carry yet goes at the recording's end; where the stream broke, the
// whole recording goes as it did before.
TEST_P(StreamRoute, TheRestGoesAtTheEndOrTheWholeRecordingWhereTheStreamBroke)
{
    const StreamRow& row = GetParam();
    m_server.script("/stream", row.stream);
    m_server.script("/transcribe", {200, R"({"text":"Whole."})"});
    SpeechStream* stream = m_engine.openStream(u"en"_s, &m_context);
    ASSERT_NE(stream, nullptr);
    stream->append(kPcm.first(1000));
    stream->append(kPcm.sliced(1000, 5000));
    if (row.stream.early) {
        ASSERT_TRUE(QTest::qWaitFor([stream] { return static_cast<EngineStream*>(stream)->broken(); }, 5000));
    }
    Answer<Transcript> answer;
    m_engine.transcribeStream(stream, kRecording, u"en"_s, &m_context, answer.sink());
    if (row.failure == Kind::TimedOut) {
        ASSERT_TRUE(QTest::qWaitFor(
            [this] { return !m_server.requests().isEmpty() && m_server.requests().front().body == kPcm; },
            5000));
        m_clock.advance(EngineClient::kRequestTimeoutMs);
    }
    const EngineResult<Transcript>& result = answer.await();

    const RecordedRequest& streamed = m_server.requests().front();
    EXPECT_EQ(streamed.target, "/stream?language=en");
    EXPECT_EQ(streamed.headers.value("quenda-token"), m_engine.secret().token());
    if (!row.stream.early) {
        EXPECT_EQ(streamed.body, kPcm);
    }
    ASSERT_EQ(m_server.requests().size(), row.whole ? 2 : 1);
    if (row.whole) {
        EXPECT_EQ(m_server.requests().back().body, kRecording);
    }
    ASSERT_EQ(result.ok(), !row.failure);
    if (result.ok())
        EXPECT_EQ(result.value().text, row.whole ? u"Whole."_s : u"Streamed."_s);
    else
        EXPECT_EQ(result.error().kind, *row.failure);
}

// clang-format off
const StreamRow kStreamRows[] = {
    {.name = "Answered",                  .stream = {200, R"({"text":"Streamed."})"},                  .whole = false},
    {.name = "RefusedBeforeItsEnd",       .stream = {.status = 503, .body = "{}", .early = true},     .whole = true},
    {.name = "FailedAtItsEnd",            .stream = {500, R"({"error":"Engine failure"})"},            .whole = true},
    {.name = "NotAnsweredInTime",         .stream = {.hold = true},                                    .whole = false, .failure = Kind::TimedOut},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(Rows, StreamRoute, ::testing::ValuesIn(kStreamRows),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(EngineClientTest, ASpeechServerGetsTheWholeRecordingAtItsEnd)
{
    m_config.asrEngine = AsrEngine::Whisper;
    m_config.speechBaseURL = u"http://10.0.0.5:8080/v1"_s;
    EXPECT_EQ(m_engine.openStream(u"en"_s, &m_context), nullptr);
}

} // namespace
