#include "speech/engine_replies.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

template <typename Body> bool decodes(const QByteArray& bytes)
{
    return Body::decode(bytes).has_value();
}

struct DecodeRow {
    const char* name;
    std::function<bool(const QByteArray&)> decode;
    QByteArray body;
    bool decodes;
};

void PrintTo(const DecodeRow& row, std::ostream* os)
{
    *os << row.name;
}

// Each required key once present and once missing: a decoder that defaults a missing key would
// turn a foreign or broken reply into a plausible answer.
// clang-format off
const DecodeRow kDecodeRows[] = {
    {.name = "HealthWithReady", .decode = decodes<HealthBody>, .body = R"({"ready":false})", .decodes = true},
    {.name = "HealthWithoutReady", .decode = decodes<HealthBody>, .body = R"({"error":"Modell fehlt","polish":true})", .decodes = false},
    {.name = "HealthReadyNull", .decode = decodes<HealthBody>, .body = R"({"ready":null})", .decodes = false},
    {.name = "ErrorWithError", .decode = decodes<ErrorBody>, .body = R"({"error":""})", .decodes = true},
    {.name = "ErrorWithoutError", .decode = decodes<ErrorBody>, .body = R"({"message":"Modell nicht gefunden"})", .decodes = false},
};
// clang-format on

class DecodeTable : public ::testing::TestWithParam<DecodeRow> {};

TEST_P(DecodeTable, RequiredKeysDecideWhetherTheReplyDecodes)
{
    EXPECT_EQ(GetParam().decode(GetParam().body), GetParam().decodes);
}

INSTANTIATE_TEST_SUITE_P(Replies, DecodeTable, ::testing::ValuesIn(kDecodeRows),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
