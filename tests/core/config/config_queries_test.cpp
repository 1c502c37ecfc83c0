#include "core/config/quenda_config.h"
#include "test_text.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

CorrectionEndpoint endpoint(const char* kind, bool enabled = true, const char* baseURL = "")
{
    return {QUuid::createUuid(), s(kind), s("auto"), s(baseURL), enabled};
}

QuendaConfig withEndpoints(QList<CorrectionEndpoint> endpoints, bool fallback)
{
    QuendaConfig config = QuendaConfig::standard();
    config.correctionEndpoints = std::move(endpoints);
    config.correctionFallback = fallback;
    return config;
}

const CorrectionEndpoint claude = endpoint("claude");
const CorrectionEndpoint chatgpt = endpoint("chatgpt");
const CorrectionEndpoint custom = endpoint("custom", true, " http://x/v1 ");
const CorrectionEndpoint disabled = endpoint("custom", false, "http://x");

TEST(ConfigQueries, ActiveEndpointsFollowEnabledFallbackAndKeys)
{
    struct Case {
        QList<CorrectionEndpoint> endpoints;
        bool fallback;
        QStringList active; // kinds, in order
        bool configuredWithoutKey;
        bool configuredWithKey;
    };
    const Case cases[] = {
        {.endpoints = {custom},
         .fallback = false,
         .active = {s("custom")},
         .configuredWithoutKey = true,
         .configuredWithKey = true},
        {.endpoints = {endpoint("custom", true, " \n")},
         .fallback = false,
         .active = {s("custom")},
         .configuredWithoutKey = false,
         .configuredWithKey = false},
        {.endpoints = {endpoint("cursor")},
         .fallback = false,
         .active = {s("cursor")},
         .configuredWithoutKey = true,
         .configuredWithKey = true},
        {.endpoints = {claude, custom},
         .fallback = false,
         .active = {s("claude")},
         .configuredWithoutKey = false,
         .configuredWithKey = false},
        {.endpoints = {claude, custom},
         .fallback = true,
         .active = {s("claude"), s("custom")},
         .configuredWithoutKey = true,
         .configuredWithKey = true},
        {.endpoints = {disabled, chatgpt},
         .fallback = false,
         .active = {s("chatgpt")},
         .configuredWithoutKey = false,
         .configuredWithKey = true},
        {.endpoints = {disabled},
         .fallback = true,
         .active = {},
         .configuredWithoutKey = false,
         .configuredWithKey = false},
        // A kind from a newer version needs its own key; the general key does not stand in for it.
        {.endpoints = {endpoint("mystery")},
         .fallback = false,
         .active = {s("mystery")},
         .configuredWithoutKey = false,
         .configuredWithKey = false},
    };
    // Only "cursor" has a stored key; "claude" has a blank one.
    const auto keyFor = [](const CorrectionEndpoint& e) {
        return e.kind == s("cursor") ? s(" key\n") : s(" \n");
    };
    for (const Case& c : cases) {
        const QuendaConfig config = withEndpoints(c.endpoints, c.fallback);
        QStringList active;
        for (const auto& e : config.activeCorrectionEndpoints())
            active.append(e.kind);
        EXPECT_EQ(active, c.active);
        EXPECT_EQ(config.correctionConfigured(false, keyFor), c.configuredWithoutKey) << &c - cases;
        EXPECT_EQ(config.correctionConfigured(true, keyFor), c.configuredWithKey) << &c - cases;
    }

    QuendaConfig local = withEndpoints({custom, chatgpt}, true);
    local.polishProvider = PolishProvider::Local;
    EXPECT_FALSE(local.correctionConfigured(true, [](const CorrectionEndpoint&) { return s("k"); }));
}

TEST(ConfigQueries, BaseURLOfTheFirstActiveEndpointElseTheLegacyFields)
{
    QuendaConfig config = withEndpoints({endpoint("claude", false), custom, claude}, false);
    config.correctionBaseURL = s(" http://legacy/v1 ");
    EXPECT_EQ(config.resolvedCorrectionBaseURL(), s("http://x/v1"));
    config.correctionEndpoints = {disabled};
    config.correctionKind = s("custom");
    EXPECT_EQ(config.resolvedCorrectionBaseURL(), s("http://legacy/v1"));
    config.correctionKind = s("claude");
    EXPECT_EQ(config.resolvedCorrectionBaseURL(), s("https://api.openai.com/v1"));
}

TEST(ConfigQueries, HistoryKeepsWhatTheRetentionAllows)
{
    constexpr qint64 day = 24 * 3600;
    constexpr qint64 never = std::numeric_limits<qint64>::max();
    // Hours kept, most entries, the entries' ages in seconds (newest first), how many of them stay.
    const std::vector<std::tuple<qint64, qint64, QList<qint64>, qsizetype>> cases{
        // Noon the day before stays; 11:59 the day before is older than 24 hours.
        {24, 0, {0, day, day + 60}, 2},
        {0, 0, {0, 400 * day}, 2},
        {0, 2, {0, 60, 120, 180}, 2},
        {1, 2, {0, 60, 120, 7200}, 2},
        {1, 0, {0, 60, 120, 7200}, 3},
        // A cut-off that cannot be represented: no age limit instead of an empty history.
        {never, 0, {0, 400 * day}, 2},
        {never / 3600, 0, {0, 400 * day}, 2},
    };
    const QDateTime noon(QDate(2025, 3, 10), QTime(12, 0), Qt::UTC);
    for (const auto& [keepHours, maxEntries, secondsAgo, kept] : cases) {
        QuendaConfig config = QuendaConfig::standard();
        config.historyKeepHours = keepHours;
        config.historyMaxEntries = maxEntries;
        QList<HistoryEntry> entries;
        for (qint64 ago : secondsAgo)
            entries.append({QUuid::createUuid(), noon.addSecs(-ago), s("r"), s("t"), {}, {}, {}, {}});
        EXPECT_EQ(config.trimmedHistory(entries, noon), entries.first(kept))
            << keepHours << ' ' << maxEntries;
    }
}

} // namespace

TEST(ConfigQueries, DictationsGoToTheSpeechServerOnlyWithWhisperAndABaseURL)
{
    struct Row {
        AsrEngine engine;
        const char* baseURL;
        std::optional<SpeechServer> server;
        bool inTheClear;
    };
    const SpeechServer model{.baseURL = {}, .model = s("whisper-1")};
    const auto at = [model](const char* url) { return SpeechServer{s(url), model.model}; };
    // clang-format off
    const Row rows[] = {
        {.engine = AsrEngine::Whisper, .baseURL = "",                              .server = std::nullopt,                              .inTheClear = false},
        {.engine = AsrEngine::Whisper, .baseURL = " \n",                           .server = std::nullopt,                              .inTheClear = false},
        {.engine = AsrEngine::Whistle, .baseURL = "http://127.0.0.1:8080/v1",      .server = std::nullopt,                              .inTheClear = false},
        {.engine = AsrEngine::Whisper, .baseURL = " http://127.0.0.1:8080/v1 ",    .server = at("http://127.0.0.1:8080/v1"),            .inTheClear = false},
        {.engine = AsrEngine::Whisper, .baseURL = "http://127.1/v1",               .server = at("http://127.1/v1"),                     .inTheClear = false},
        {.engine = AsrEngine::Whisper, .baseURL = "http://[::1]:9000/v1",          .server = at("http://[::1]:9000/v1"),                .inTheClear = false},
        {.engine = AsrEngine::Whisper, .baseURL = "http://localhost:9000/v1",      .server = at("http://localhost:9000/v1"),            .inTheClear = false},
        {.engine = AsrEngine::Whisper, .baseURL = "http://192.168.1.20:8080/v1",   .server = at("http://192.168.1.20:8080/v1"),         .inTheClear = true},
        {.engine = AsrEngine::Whisper, .baseURL = "http://127.0.0.1.example.org/", .server = at("http://127.0.0.1.example.org/"),       .inTheClear = true},
        {.engine = AsrEngine::Whisper, .baseURL = "http://127.x.0.1/",             .server = at("http://127.x.0.1/"),                   .inTheClear = true},
        {.engine = AsrEngine::Whisper, .baseURL = "https://api.example.org/v1",    .server = at("https://api.example.org/v1"),          .inTheClear = false},
    };
    // clang-format on
    for (const Row& row : rows) {
        QuendaConfig config = QuendaConfig::standard();
        config.asrEngine = row.engine;
        config.speechBaseURL = s(row.baseURL);
        const std::optional<SpeechServer> server = config.speechServer();
        EXPECT_EQ(server, row.server) << row.baseURL;
        EXPECT_EQ(server && server->sendsInTheClear(), row.inTheClear) << row.baseURL;
    }
}
