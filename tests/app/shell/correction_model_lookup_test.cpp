#include "shell_fakes.h"

#include "app/shell/correction_model_lookup.h"
#include "core/state/state_fixture.h"

#include <gtest/gtest.h>

namespace {

const QString kCustom = QStringLiteral("http://127.0.0.1:9/v1");

EngineResult<CorrectionModelBody> model(const char* name, QStringList models = {})
{
    return CorrectionModelBody{QString::fromLatin1(name), models};
}

EngineResult<CorrectionModelBody> failure(const char* message)
{
    EngineError error;
    error.message = QString::fromLatin1(message);
    return error;
}

class CorrectionModelLookupTest : public StateFixture {
protected:
    void SetUp() override
    {
        StateFixture::SetUp();
        makeState();
        configure([](QuendaConfig& c) { c.polishProvider = PolishProvider::OpenAI; });
        m_lookup = std::make_unique<CorrectionModelLookup>(state(), m_engine);
    }
    void TearDown() override
    {
        m_lookup.reset();
        StateFixture::TearDown();
    }
    void configure(const std::function<void(QuendaConfig&)>& change)
    {
        QuendaConfig config = state().config();
        change(config);
        state().setConfig(config);
    }
    QString current() { return state().config().resolvedCorrectionBaseURL(); }
    void useCustomEndpoint()
    {
        configure([](QuendaConfig& c) {
            c.correctionEndpoints = {
                {QUuid::createUuid(), QStringLiteral("custom"), QStringLiteral("auto"), kCustom, true}};
        });
    }

    FakeEngineControl m_engine;
    std::unique_ptr<CorrectionModelLookup> m_lookup;
};

} // namespace

TEST_F(CorrectionModelLookupTest, TwoQuickLookupsApplyOnlyTheSecondWhicheverAnswersFirst)
{
    m_lookup->refresh(QStringLiteral("key-one"), std::nullopt);
    m_lookup->refresh(QStringLiteral(" key-two\n"), std::nullopt);
    ASSERT_EQ(m_engine.lookups.size(), 2);
    EXPECT_EQ(m_engine.lookups[1].key, QStringLiteral("key-two"));

    m_engine.answer(1, model("second", {QStringLiteral("second"), QStringLiteral("other")}));
    m_engine.answer(0, model("first"));

    EXPECT_EQ(state().correctionModel(), QStringLiteral("second"));
    EXPECT_EQ(state().correctionModels(), (QStringList{QStringLiteral("second"), QStringLiteral("other")}));
    EXPECT_EQ(state().correctionCatalogs().value(current()).recommended, QStringLiteral("second"));
}

TEST_F(CorrectionModelLookupTest, TheSameBaseAndKeyAfterAnAnswerSendNothing)
{
    m_lookup->refresh(QStringLiteral("key"), std::nullopt);
    m_engine.answer(0, model("gpt"));
    m_lookup->refresh(QStringLiteral("key "), std::nullopt);
    EXPECT_EQ(m_engine.lookups.size(), 1);
}

TEST_F(CorrectionModelLookupTest, AFailureIsStoredPerBaseAndTheSameLookupIsSentAgain)
{
    state().setCorrectionModel(QStringLiteral("old"));
    m_lookup->refresh(QStringLiteral("key"), std::nullopt);
    m_engine.answer(0, failure("no such key"));

    EXPECT_EQ(state().correctionLookupErrors().value(current()), QStringLiteral("no such key"));
    EXPECT_EQ(state().correctionModel(), QString());
    m_lookup->refresh(QStringLiteral("key"), std::nullopt);
    EXPECT_EQ(m_engine.lookups.size(), 2);
    m_engine.answer(1, model("gpt"));
    EXPECT_FALSE(state().correctionLookupErrors().contains(current()));
}

TEST_F(CorrectionModelLookupTest, WithoutTheEndpointListOnlyTheAskedBaseIsEmptied)
{
    configure([](QuendaConfig& c) { c.polishProvider = PolishProvider::Local; });
    state().setCorrectionModel(QStringLiteral("kept"));
    state().setCorrectionCatalogs({{kCustom, CorrectionCatalog{QStringLiteral("m"), {QStringLiteral("m")}}}});
    state().setCorrectionLookupErrors({{kCustom, QStringLiteral("old error")}});

    m_lookup->refresh(QStringLiteral("key"), kCustom);

    EXPECT_TRUE(m_engine.lookups.isEmpty());
    EXPECT_EQ(state().correctionCatalogs().value(kCustom), CorrectionCatalog{});
    EXPECT_FALSE(state().correctionLookupErrors().contains(kCustom));
    EXPECT_EQ(state().correctionModel(), QStringLiteral("kept"));
}

TEST_F(CorrectionModelLookupTest, AHostedProviderWithoutKeyIsNotAskedButAServerOfTheUsersIs)
{
    struct Row {
        QString base;
        bool sent;
    };
    const Row rows[] = {
        {.base = CorrectionEndpoint::openAIBaseURL(), .sent = false},
        {.base = QStringLiteral("https://API.cursor.com/v1"), .sent = false},
        {.base = kCustom, .sent = true},
        {.base = QStringLiteral("not a url"), .sent = true},
    };
    for (const Row& row : rows) {
        const qsizetype before = m_engine.lookups.size();
        m_lookup->refresh(QStringLiteral("  "), row.base);
        EXPECT_EQ(m_engine.lookups.size() > before, row.sent) << row.base.toStdString();
    }
}

TEST_F(CorrectionModelLookupTest, AnAnswerAboutAnotherBaseFillsOnlyThatCatalogue)
{
    state().setCorrectionModel(QStringLiteral("in use"));
    m_lookup->refresh(QStringLiteral("key"), kCustom);
    m_engine.answer(0, model("local-model"));

    EXPECT_EQ(state().correctionCatalogs().value(kCustom).recommended, QStringLiteral("local-model"));
    EXPECT_EQ(state().correctionModel(), QStringLiteral("in use"));
}

TEST_F(CorrectionModelLookupTest, AnAnswerArrivingAfterTheEndpointChangedDoesNotNameTheNewOnesModel)
{
    m_lookup->refresh(QStringLiteral("key"), std::nullopt);
    useCustomEndpoint();
    m_engine.answer(0, model("gpt"));
    EXPECT_EQ(state().correctionModel(), QString());
    EXPECT_EQ(state().correctionCatalogs().value(CorrectionEndpoint::openAIBaseURL()).recommended,
              QStringLiteral("gpt"));
}
