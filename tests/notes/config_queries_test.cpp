#include "core/quenda_config.h"

#include <gtest/gtest.h>

namespace {

QString s(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

CorrectionEndpoint endpoint(const char* kind, bool enabled = true, const char* baseURL = "")
{
    return {QUuid::createUuid(), s(kind), s("auto"), s(baseURL), enabled};
}

const CorrectionEndpoint claude = endpoint("claude");
const CorrectionEndpoint cursor = endpoint("cursor");
const CorrectionEndpoint chatgpt = endpoint("chatgpt");
const CorrectionEndpoint custom = endpoint("custom", true, " http://x/v1 ");
const CorrectionEndpoint blankCustom = endpoint("custom", true, " \n");

QuendaConfig withEndpoints(QList<CorrectionEndpoint> endpoints, bool fallback)
{
    QuendaConfig config = QuendaConfig::standard();
    config.correctionEndpoints = std::move(endpoints);
    config.correctionFallback = fallback;
    return config;
}

struct EndpointCase {
    const char* name;
    QList<CorrectionEndpoint> endpoints;
    bool fallback;
    QStringList active; // kinds, in order
    bool configuredWithoutKey;
    bool configuredWithKey;
};

void PrintTo(const EndpointCase& c, std::ostream* os)
{
    *os << c.name;
}

class Endpoints : public ::testing::TestWithParam<EndpointCase> {};

} // namespace

TEST_P(Endpoints, ActiveListAndConfiguredFollowEnabledFallbackAndKeys)
{
    const EndpointCase& c = GetParam();
    const QuendaConfig config = withEndpoints(c.endpoints, c.fallback);
    QStringList active;
    for (const auto& e : config.activeCorrectionEndpoints())
        active.append(e.kind);
    EXPECT_EQ(active, c.active);
    // Only "cursor" has a stored key; "claude" has a blank one.
    const auto keyFor = [](const CorrectionEndpoint& e) {
        return e.kind == s("cursor") ? s(" key\n") : s(" \n");
    };
    EXPECT_EQ(config.correctionConfigured(false, keyFor), c.configuredWithoutKey);
    EXPECT_EQ(config.correctionConfigured(true, keyFor), c.configuredWithKey);
}

INSTANTIATE_TEST_SUITE_P(
    Lists, Endpoints,
    ::testing::Values(
        EndpointCase{"CustomNeedsNoKey", {custom}, false, {s("custom")}, true, true},
        EndpointCase{"BlankCustomURL", {blankCustom}, false, {s("custom")}, false, false},
        EndpointCase{"ChatgptNeedsTheKey", {chatgpt}, false, {s("chatgpt")}, false, true},
        EndpointCase{"StoredKeyOfCursor", {cursor}, false, {s("cursor")}, true, true},
        EndpointCase{"FirstOnlyWithoutFallback", {claude, custom}, false, {s("claude")}, false, false},
        EndpointCase{
            "UnusableFirstThenUsable", {claude, custom}, true, {s("claude"), s("custom")}, true, true},
        EndpointCase{"DisabledAreSkipped",
                     {endpoint("custom", false, "http://x"), chatgpt},
                     false,
                     {s("chatgpt")},
                     false,
                     true},
        EndpointCase{"NoneEnabled", {endpoint("custom", false, "http://x")}, true, {}, false, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CorrectionConfiguredTest, LocalPolishingIsNeverConfigured)
{
    QuendaConfig config = withEndpoints({custom, chatgpt}, true);
    config.polishProvider = s("local");
    EXPECT_FALSE(config.correctionConfigured(true, [](const CorrectionEndpoint&) { return s("k"); }));
}

TEST(ResolvedBaseURLTest, FirstActiveEndpointElseLegacyFields)
{
    QuendaConfig config = withEndpoints({endpoint("claude", false), custom, claude}, false);
    config.correctionBaseURL = s(" http://legacy/v1 ");
    EXPECT_EQ(config.resolvedCorrectionBaseURL(), s("http://x/v1"));
    config.correctionEndpoints = {endpoint("custom", false)};
    config.correctionKind = s("custom");
    EXPECT_EQ(config.resolvedCorrectionBaseURL(), s("http://legacy/v1"));
    config.correctionKind = s("claude");
    EXPECT_EQ(config.resolvedCorrectionBaseURL(), s("https://api.openai.com/v1"));
}

namespace {

constexpr qint64 day = 24 * 3600;

struct RetentionCase {
    const char* name;
    qint64 keepHours;
    qint64 maxEntries;
    QList<qint64> secondsAgo; // the entries, newest first
    QList<qint64> kept;       // indexes into them
};

void PrintTo(const RetentionCase& c, std::ostream* os)
{
    *os << c.name;
}

class TrimmedHistory : public ::testing::TestWithParam<RetentionCase> {};

} // namespace

TEST_P(TrimmedHistory, KeepsWhatTheRetentionAllows)
{
    const QDateTime noon(QDate(2025, 3, 10), QTime(12, 0), Qt::UTC);
    QuendaConfig config = QuendaConfig::standard();
    config.historyKeepHours = GetParam().keepHours;
    config.historyMaxEntries = GetParam().maxEntries;
    QList<HistoryEntry> entries;
    for (qint64 ago : GetParam().secondsAgo)
        entries.append({QUuid::createUuid(), noon.addSecs(-ago), s("r"), s("t"), {}, {}, {}, {}});
    QList<HistoryEntry> expected;
    for (qint64 index : GetParam().kept)
        expected.append(entries.at(index));
    EXPECT_EQ(config.trimmedHistory(entries, noon), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Settings, TrimmedHistory,
    ::testing::Values(
        // Noon the day before stays; 11:59 the day before is older than 24 hours.
        RetentionCase{"CutOffIsInclusive", 24, 0, {0, day, day + 60}, {0, 1}},
        RetentionCase{"ZeroKeepsAnyAge", 0, 0, {0, 400 * day}, {0, 1}},
        RetentionCase{"CountKeepsTheNewest", 0, 2, {0, 60, 120, 180, 240}, {0, 1}},
        RetentionCase{"ZeroCountKeepsAll", 0, 0, {0, 60, 120, 180, 240}, {0, 1, 2, 3, 4}},
        RetentionCase{"AgeThenCount", 1, 2, {0, 60, 7200, 120}, {0, 1}},
        // The cut-off cannot be represented: no age limit instead of an empty history.
        RetentionCase{
            "UncomputableCutOffKeepsAll", std::numeric_limits<qint64>::max(), 0, {0, 400 * day}, {0, 1}}),
    [](const auto& info) { return std::string(info.param.name); });

// Every stored default must be a value the settings page can show.
TEST(ChoiceTablesTest, OfferTheDefaults)
{
    const QuendaConfig& standard = QuendaConfig::standard();
    EXPECT_TRUE(QuendaConfig::historyKeepChoices().contains(standard.historyKeepHours));
    EXPECT_TRUE(QuendaConfig::historyLimitChoices().contains(standard.historyMaxEntries));
    EXPECT_TRUE(QuendaConfig::overlayDismissChoices().contains(standard.overlayResultDismissSeconds));
    EXPECT_TRUE(
        QuendaConfig::dictationPreviewDismissChoices().contains(standard.dictationPreviewDismissSeconds));
    EXPECT_EQ(QuendaConfig::whistleDepthsByQuality().size(), QuendaConfig::whisperModelsByQuality().size());
}
