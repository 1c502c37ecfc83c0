#include "test_text.h"

#include "core/config/config_key.h"
#include "core/config/quenda_config.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QProcessEnvironment>
#include <QSet>

#include <gtest/gtest.h>

namespace {

// The engine reads the port from config.json itself and must fall back to the defaults exactly
// when the app does, or the two end up on different ports. This asks the engine's own decoder.
const char* const kEngineVerdicts = R"(
import json, sys
from quenda_engine import config

documents = json.load(sys.stdin)
accepted = [config.app_would_accept(d.encode()) is not None for d in documents]
print(json.dumps({"keys": sorted(config.APP_KEYS), "accepted": accepted}))
)";

struct EngineVerdicts {
    QSet<QString> keys;
    QList<bool> accepted;
};

std::optional<EngineVerdicts> askEngine(const QStringList& documents)
{
    QProcess python;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(s("PYTHONPATH"), s(QUENDA_SOURCE_DIR "/engine"));
    // The engine folder is someone else's; no byte-code files appear in it.
    env.insert(s("PYTHONDONTWRITEBYTECODE"), s("1"));
    python.setProcessEnvironment(env);
    python.start(s("/usr/bin/python3"), {s("-c"), QString::fromUtf8(kEngineVerdicts)});
    if (!python.waitForStarted(10000)) {
        ADD_FAILURE() << "could not start /usr/bin/python3";
        return std::nullopt;
    }
    python.write(QJsonDocument(QJsonArray::fromStringList(documents)).toJson(QJsonDocument::Compact));
    python.closeWriteChannel();
    if (!python.waitForFinished(30000) || python.exitStatus() != QProcess::NormalExit ||
        python.exitCode() != 0) {
        ADD_FAILURE() << python.readAllStandardError().toStdString();
        python.kill();
        python.waitForFinished(10000);
        return std::nullopt;
    }
    const QJsonObject reply = QJsonDocument::fromJson(python.readAllStandardOutput()).object();
    EngineVerdicts verdicts;
    for (const auto& key : reply.value(s("keys")).toArray())
        verdicts.keys.insert(key.toString());
    for (const auto& verdict : reply.value(s("accepted")).toArray())
        verdicts.accepted.append(verdict.toBool());
    return verdicts;
}

// Values each key of a type must take or refuse.
struct TypeSample {
    JsonType type;
    const char* value;
    bool accepted;
};

const TypeSample kTypeSamples[] = {
    {.type = JsonType::String, .value = R"("text")", .accepted = true},
    {.type = JsonType::String, .value = "7", .accepted = false},
    {.type = JsonType::String, .value = "true", .accepted = false},
    {.type = JsonType::String, .value = "[]", .accepted = false},
    {.type = JsonType::Bool, .value = "false", .accepted = true},
    {.type = JsonType::Bool, .value = "1", .accepted = false},
    {.type = JsonType::Bool, .value = R"("true")", .accepted = false},
    {.type = JsonType::Integer, .value = "3", .accepted = true},
    {.type = JsonType::Integer, .value = "4000.0", .accepted = true},
    {.type = JsonType::Integer, .value = "-2", .accepted = true},
    {.type = JsonType::Integer, .value = "9223372036854775807", .accepted = true},
    {.type = JsonType::Integer, .value = "17.5", .accepted = false},
    {.type = JsonType::Integer, .value = "1e30", .accepted = false},
    {.type = JsonType::Integer, .value = R"("3")", .accepted = false},
    {.type = JsonType::Integer, .value = "true", .accepted = false},
    {.type = JsonType::Number, .value = "10.5", .accepted = true},
    {.type = JsonType::Number, .value = "-4", .accepted = true},
    {.type = JsonType::Number, .value = R"("10.5")", .accepted = false},
    {.type = JsonType::Number, .value = "false", .accepted = false},
    {.type = JsonType::Array, .value = "[]", .accepted = true},
    {.type = JsonType::Array, .value = "{}", .accepted = false},
    {.type = JsonType::Array, .value = R"("[]")", .accepted = false},
};

// Whole documents for what a single type cannot say: the records inside the arrays and the older
// keys, which are read only when their newer form gives no answer.
struct Document {
    const char* json;
    bool accepted;
};

const Document kDocuments[] = {
    {.json = R"({"correctionEndpoints": [{"id": "0F8FAD5B-D9CB-469F-A165-70867728950E", "kind": "custom",
                 "model": "m", "baseURL": "http://h/v1", "enabled": true}]})",
     .accepted = true},
    {.json = R"({"correctionEndpoints": [{"id": "not-a-uuid", "kind": "custom", "model": "m",
                 "baseURL": "", "enabled": true}]})",
     .accepted = false},
    {.json = R"({"correctionEndpoints": [{"id": "0F8FAD5B-D9CB-469F-A165-70867728950E", "kind": "custom",
                 "model": "m", "baseURL": ""}]})",
     .accepted = false},
    {.json = R"({"correctionEndpoints": [7]})", .accepted = false},
    {.json = R"({"appStyles": [{"bundleID": "a", "name": "A", "style": "chat", "suggested": "chat",
                 "customized": false}]})",
     .accepted = true},
    {.json = R"({"appStyles": [{"bundleID": "a", "name": "A", "style": "chat", "suggested": "chat",
                 "customized": "no"}]})",
     .accepted = false},
    {.json = R"({"historyKeepDays": 3})", .accepted = true},
    {.json = R"({"historyKeepDays": "3"})", .accepted = false},
    {.json = R"({"historyKeepDays": "3", "historyKeepHours": null})", .accepted = false},
    {.json = R"({"historyKeepDays": "3", "historyKeepHours": 5})", .accepted = true},
    {.json = R"({"muteOthers": "no"})", .accepted = false},
    {.json = R"({"muteOthers": "no", "othersAudio": "loud"})", .accepted = false},
    {.json = R"({"muteOthers": "no", "othersAudio": "quiet"})", .accepted = true},
    // Numbers past the ranges of the app's parser and integer reader.
    {.json = R"({"port": 9223372036854775808})", .accepted = false},
    {.json = R"({"port": 100000000000000000000})", .accepted = false},
    {.json = R"({"asrQuality": -9223372036854775808.0})", .accepted = true},
    {.json = R"({"widgetX": 1e400})", .accepted = false},
    {.json = R"({"style": "a", "unread": 1e400})", .accepted = false},
    {.json = "{\"widgetY\": 1"
             "000000000000000000000000000000000000000000000000000000000000000000000000000000"
             "0000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000"
             "0000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000"
             "0000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000"
             "00000000000000000000000000000000000}",
     .accepted = false},
    // Endpoint ids as the app's UUID reader takes them.
    {.json = R"({"correctionEndpoints": [{"id": "{{0F8FAD5B-D9CB-469F-A165-70867728950E}}", "kind": "custom",
                 "model": "m", "baseURL": "", "enabled": true}]})",
     .accepted = false},
    {.json = R"({"correctionEndpoints": [{"id": "{0F8FAD5B-D9CB-469F-A165-70867728950E}", "kind": "custom",
                 "model": "m", "baseURL": "", "enabled": true}]})",
     .accepted = true},
    {.json = R"({"correctionEndpoints": [{"id": "0F8FAD5B-D9CB-469F-A165-70867728950Exyz", "kind": "custom",
                 "model": "m", "baseURL": "", "enabled": true}]})",
     .accepted = true},
    // Raw control characters inside a string.
    {.json = "{\"style\": \"a\tb\"}", .accepted = true},
    {.json = "{\"style\": \"a\x01"
             "b\"}",
     .accepted = true},
};

} // namespace

TEST(EngineConfigAgreement, EngineKnowsExactlyTheStoredKeys)
{
    QSet<QString> stored;
    for (const ConfigKey& key : ConfigKey::all())
        stored.insert(QString(key.name));

    const auto engine = askEngine({});
    ASSERT_TRUE(engine);
    for (const QString& key : stored)
        EXPECT_TRUE(engine->keys.contains(key)) << "the engine does not check " << key.toStdString();
    for (const QString& key : engine->keys)
        EXPECT_TRUE(stored.contains(key)) << "the app does not store " << key.toStdString();
}

TEST(EngineConfigAgreement, EngineAndAppAcceptAndRefuseTheSameDocuments)
{
    struct Row {
        QString json;
        bool accepted;
    };
    QList<Row> rows;
    for (const ConfigKey& key : ConfigKey::all()) {
        // Null is absent for every type.
        rows.append({QStringLiteral(R"({"%1": null})").arg(key.name), true});
        for (const TypeSample& sample : kTypeSamples) {
            if (sample.type == key.type)
                rows.append(
                    {QStringLiteral(R"({"%1": %2})").arg(key.name, s(sample.value)), sample.accepted});
        }
    }
    for (const Document& document : kDocuments)
        rows.append({s(document.json), document.accepted});

    QStringList documents;
    for (const Row& row : rows)
        documents.append(row.json);
    const auto engine = askEngine(documents);
    ASSERT_TRUE(engine);
    ASSERT_EQ(engine->accepted.size(), rows.size());
    for (qsizetype i = 0; i < rows.size(); ++i) {
        const Row& row = rows[i];
        EXPECT_EQ(QuendaConfig::decode(row.json.toUtf8()).has_value(), row.accepted)
            << "app: " << row.json.toStdString();
        EXPECT_EQ(engine->accepted[i], row.accepted) << "engine: " << row.json.toStdString();
    }
}
