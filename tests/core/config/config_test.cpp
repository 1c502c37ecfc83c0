#include "temp_support_dir.h"
#include "test_text.h"

#include "core/base/support_paths.h"
#include "core/config/quenda_config.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>

namespace {

// A table's texts in its order, then "|" and the text its fallback is stored as.
template <typename E> QString tableText(const EnumTable<E>& table)
{
    QStringList texts;
    for (const E value : table.values())
        texts << table.text(value);
    return texts.join(u',') + u'|' + table.text(table.fallback());
}

QuendaConfig decodeJson(const char* json)
{
    const auto config = QuendaConfig::decode(QByteArray(json));
    EXPECT_TRUE(config) << json;
    return config.value_or(QuendaConfig{});
}

ino_t inode(const QString& path)
{
    struct stat st {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_ino : 0;
}

class ConfigFile : public TempSupportDir {
protected:
    QString configPath() const { return supportFile(QStringLiteral("config.json")); }
    QJsonObject storedObject() const { return QJsonDocument::fromJson(readAll(configPath())).object(); }
};

} // namespace

TEST(ConfigDecode, EmptyObjectGivesDefaultsButAnUnmigratedModelChoice)
{
    QuendaConfig c = decodeJson("{}");
    EXPECT_FALSE(c.didChooseModel);
    ASSERT_EQ(c.correctionEndpoints.size(), 1);
    EXPECT_EQ(c.correctionEndpoints[0].model, s("auto"));
    EXPECT_EQ(c.correctionEndpoints[0].kind, s("chatgpt"));

    // Apart from those, every field is the default.
    c.didChooseModel = true;
    c.correctionEndpoints = QuendaConfig::standard().correctionEndpoints;
    EXPECT_EQ(c, QuendaConfig::standard());
}

TEST(ConfigDecode, ClampsFallbacksAndLegacyKeys)
{
    // Each row: a stored document, one key of the decoded record's JSON form, its expected value.
    const QString max = QString::number(std::numeric_limits<qint64>::max());
    const QString nestedFolder = AppleNotesFolder{s("Work"), s("Ideas\u001eOld")}.id();
    const struct {
        const char* json;
        const char* key;
        QJsonValue expected;
    } rows[] = {
        {R"({"asrQuality": 9})", "asrQuality", 4},
        {R"({"asrQuality": -3})", "asrQuality", 0},
        {R"({"whisperModel": "mlx-community/whisper-small-mlx"})", "asrQuality", 2},
        {R"({"whisperModel": "other"})", "asrQuality", 4},
        {R"({"asrEngine": "Whistle"})", "asrEngine", s("whisper")},
        {R"({"asrEngine": "whistle"})", "asrEngine", s("whistle")},
        {R"({"historyKeepDays": 3})", "historyKeepHours", 72},
        {R"({"historyKeepDays": 3, "historyKeepHours": 5})", "historyKeepHours", 5},
        {R"({"historyKeepHours": -5})", "historyKeepHours", 0},
        {R"({"historyKeepDays": -2})", "historyKeepHours", 0},
        {R"({"historyMaxEntries": -1})", "historyMaxEntries", 0},
        {R"({"overlayResultDismissSeconds": -1})", "overlayResultDismissSeconds", 0},
        {R"({"dictationPreviewDismissSeconds": -9})", "dictationPreviewDismissSeconds", 0},
        {R"({"muteOthers": false})", "othersAudio", s("off")},
        {R"({"othersAudio": "loud", "muteOthers": false})", "othersAudio", s("off")},
        {R"({"othersAudio": "loud"})", "othersAudio", s("mute")},
        // An accepted "othersAudio" means the legacy key is never read, wrong type or not.
        {R"({"othersAudio": "quiet", "muteOthers": "yes"})", "othersAudio", s("quiet")},
        {R"({"overlayResultSize": "Large"})", "overlayResultSize", s("large")},
        {R"({"resultPlacementAnchor": "middle"})", "resultPlacementAnchor", s("topCenter")},
        {R"({"resultPlacementScreen": ""})", "resultPlacementScreen", s("pointer")},
        {R"({"noteDestination": "Notes"})", "noteDestination",
         QuendaConfig::standard().noteDestination.text()},
        {R"({"noteDestination": "quenda"})", "noteDestination", s("quenda")},
        {R"({"noteDestination": "Work\u001eIdeas\u001eOld"})", "noteDestination", nestedFolder},
        {R"({"port": 17321.0, "language": null})", "port", 17321},
        {R"({"port": 17321.0, "language": null})", "language", s("auto")},
        {R"({"widgetX": 10.5, "widgetDisplayID": 3})", "widgetX", 10.5},
        {R"({"widgetX": 10.5, "widgetDisplayID": 3})", "widgetY", QJsonValue::Undefined},
        {R"({"correctionBaseURL": " https://llm.example.org/v1 \n", "openAIModel": "m1"})", "correctionKind",
         s("custom")},
        {R"({"correctionBaseURL": " https://llm.example.org/v1 \n", "openAIModel": "m1"})", "openAIModel",
         s("m1")},
        {R"({"correctionBaseURL": "https://API.OpenAI.com/v1"})", "correctionKind", s("chatgpt")},
        {R"({"correctionKind": "claude", "correctionEndpoints": []})", "correctionKind", s("claude")},
    };
    for (const auto& row : rows)
        EXPECT_EQ(decodeJson(row.json).toJson().value(s(row.key)), row.expected)
            << row.json << " " << row.key;

    // The saturated value must survive its own save, or the next load falls back to defaults.
    const QuendaConfig saturated = decodeJson(R"({"historyKeepDays": 900000000000000000})");
    EXPECT_EQ(QString::number(saturated.historyKeepHours), max);
    EXPECT_EQ(QuendaConfig::decode(saturated.encode()), saturated);
}

// Stored files written before the fields were typed must keep their choices, and an unknown text
// must become the one fallback rather than a value no reader expects.
TEST(ConfigDecode, EnumFieldsRoundTripTheirTextsAndFallBackOnAnyOther)
{
    // clang-format off
    const struct { const char* key; QString table; const char* expected; } rows[] = {
        {.key = "hotkey",                .table = tableText(HotkeyText::table),                .expected = "rightOption,rightCommand,rightControl,function,leftControl|rightControl"},
        {.key = "othersAudio",           .table = tableText(OthersAudioText::table),           .expected = "off,quiet,mute|mute"},
        {.key = "overlayResultSize",     .table = tableText(OverlayResultSizeText::table),     .expected = "compact,regular,large|large"},
        {.key = "resultPlacementAnchor", .table = tableText(ResultPlacementAnchorText::table), .expected = "topLeading,topCenter,topTrailing,bottomLeading,bottomCenter,bottomTrailing|topCenter"},
        {.key = "asrEngine",             .table = tableText(AsrEngineText::table),             .expected = "whisper,whistle|whisper"},
        {.key = "polishProvider",        .table = tableText(PolishProviderText::table),        .expected = "openai,local|openai"},
    };
    // clang-format on
    const QJsonObject standard = QuendaConfig::standard().toJson();
    for (const auto& row : rows) {
        const QString key = s(row.key);
        EXPECT_EQ(row.table.toStdString(), row.expected);
        const QStringList parts = s(row.expected).split(u'|');
        for (const QString& text : parts[0].split(u',')) {
            QJsonObject stored = standard;
            stored.insert(key, text);
            stored.insert(s("muteOthers"), key != s("othersAudio") || text != s("off"));
            const QByteArray bytes = QJsonDocument(stored).toJson(QJsonDocument::Indented);
            const auto decoded = QuendaConfig::decode(bytes);
            ASSERT_TRUE(decoded) << row.key;
            EXPECT_EQ(decoded->encode().toStdString(), bytes.toStdString()) << row.key;
        }
        const QString first = parts[0].section(u',', 0, 0);
        for (const QString& unknown : QStringList{QString(), s("unknown"), first.toUpper(), u' ' + first}) {
            const QJsonObject stored{{key, unknown}};
            const auto decoded = QuendaConfig::fromJson(stored);
            ASSERT_TRUE(decoded) << row.key;
            EXPECT_EQ(decoded->toJson().value(key).toString().toStdString(), parts[1].toStdString())
                << row.key << " given '" << unknown.toStdString() << "'";
        }
    }
}

// Wrongly typed values of every key are rows of EngineConfigAgreement; these are what it leaves out.
TEST(ConfigDecode, ARecordLackingAKeyOrAnUndecodableDocumentFailsTheWholeDecode)
{
    const char* documents[] = {
        R"({"appStyles": [{"bundleID": "a", "name": "A", "style": "chat", "suggested": "chat"}]})",
        R"([1, 2])",
        R"({"port": )",
    };
    for (const char* json : documents)
        EXPECT_FALSE(QuendaConfig::decode(QByteArray(json))) << json;
}

TEST(ConfigEncode, RoundTripsAndWritesLegacyMirrorsAndOptionalKeysOnlyWhenSet)
{
    QuendaConfig c = QuendaConfig::snapshotDemo();
    c.othersAudio = OthersAudio::Quiet;
    c.instructions = s("Be \"brief\" \\ ünïcode");
    c.widgetX = 12.25;
    c.widgetY = -4;
    c.widgetDisplayID = 7;
    const auto back = QuendaConfig::decode(c.encode());
    ASSERT_TRUE(back);
    EXPECT_EQ(*back, c);

    QJsonObject o = c.toJson();
    EXPECT_TRUE(o.value(s("muteOthers")).toBool());
    EXPECT_FALSE(o.contains(s("historyKeepDays")));

    c.othersAudio = OthersAudio::Off;
    c.widgetX.reset();
    c.widgetY.reset();
    c.widgetDisplayID.reset();
    o = c.toJson();
    EXPECT_FALSE(o.value(s("muteOthers")).toBool());
    EXPECT_FALSE(o.contains(s("widgetX")) || o.contains(s("widgetY")) || o.contains(s("widgetDisplayID")));
    EXPECT_EQ(o.size(), 41); // 43 fields less three unset widget keys, plus "muteOthers"
}

TEST(ConfigEncode, EmptyEndpointListIsWrittenAsOneChatgptEndpoint)
{
    QuendaConfig c = QuendaConfig::standard();
    c.correctionEndpoints.clear();
    c.openAIModel = s("gpt-x");
    const QJsonObject o = c.toJson();
    const QJsonArray endpoints = o.value(s("correctionEndpoints")).toArray();
    ASSERT_EQ(endpoints.size(), 1);
    EXPECT_EQ(endpoints[0].toObject().value(s("kind")).toString(), s("chatgpt"));
    EXPECT_EQ(endpoints[0].toObject().value(s("model")).toString(), s("gpt-x"));
    EXPECT_EQ(o.value(s("correctionKind")).toString(), s("chatgpt"));
    EXPECT_TRUE(c.correctionEndpoints.isEmpty());
}

TEST_F(ConfigFile, MissingFileGivesDefaultsAndWritesNothing)
{
    EXPECT_EQ(QuendaConfig::load(), QuendaConfig::fresh());
    EXPECT_FALSE(QFile::exists(configPath()));
}

// A new record takes the desktop's language as the user's own where translations offer it; a
// stored one keeps what it holds.
TEST_F(ConfigFile, ANewRecordTakesTheDesktopsLanguageAsTheUsersOwn)
{
    const QLocale before;
    struct Row {
        const char* desktop;
        const char* stored; // config.json, none when null
        const char* native;
    };
    const Row rows[] = {
        {.desktop = "en_GB", .stored = nullptr, .native = "en"},
        {.desktop = "fr_CA", .stored = nullptr, .native = "fr"},
        {.desktop = "ja_JP", .stored = nullptr, .native = "de"},
        {.desktop = "en_US", .stored = R"({"nativeLanguage": "tr"})", .native = "tr"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.desktop);
        QFile::remove(configPath());
        if (row.stored)
            writeAll(configPath(), row.stored);
        QLocale::setDefault(QLocale(s(row.desktop)));
        EXPECT_EQ(QuendaConfig::load().nativeLanguage, s(row.native));
        EXPECT_EQ(QuendaConfig::read().nativeLanguage, s(row.native));
    }
    QLocale::setDefault(before);
}

TEST_F(ConfigFile, ModelChoiceMigrationRunsOnceAndASecondLoadWritesNothing)
{
    writeAll(configPath(), R"({"openAIModel": "gpt-4.1-mini", "port": 4000})");
    const QuendaConfig first = QuendaConfig::load();
    EXPECT_EQ(first.correctionEndpoints.at(0).model, s("gpt-4.1-mini"));

    const ino_t before = inode(configPath());
    const QByteArray bytes = readAll(configPath());
    const QuendaConfig second = QuendaConfig::load();
    EXPECT_EQ(inode(configPath()), before);
    EXPECT_EQ(readAll(configPath()), bytes);
    EXPECT_EQ(second, first);
}

TEST_F(ConfigFile, ReadMigratesInMemoryAndNeverTouchesTheFile)
{
    // Both migrations apply: no model choice yet, and a local model that is not there.
    const QString model = QDir(root()).filePath(QStringLiteral("model"));
    const QString json = QStringLiteral(R"({"polishProvider": "local", "modelPath": "%1", "port": 4000})");
    writeAll(configPath(), json.arg(model).toUtf8());
    const QDateTime past = QDateTime::currentDateTimeUtc().addDays(-3);
    {
        QFile file(configPath());
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        ASSERT_TRUE(file.setFileTime(past, QFileDevice::FileModificationTime));
    }
    const QByteArray bytes = readAll(configPath());
    const ino_t before = inode(configPath());

    for (int poll = 0; poll < 2; ++poll) {
        const QuendaConfig c = QuendaConfig::read();
        EXPECT_TRUE(c.didChooseModel);
        EXPECT_EQ(c.polishProvider, PolishProvider::OpenAI);
        EXPECT_EQ(c.port, 4000);
    }
    EXPECT_EQ(readAll(configPath()), bytes);
    EXPECT_EQ(QFileInfo(configPath()).lastModified(), past);
    EXPECT_EQ(inode(configPath()), before);
    EXPECT_EQ(
        QDir(SupportPaths::directory()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
        QStringList{s("config.json")});

    // The migrations are still there for the start-up load to write.
    EXPECT_EQ(QuendaConfig::load().polishProvider, PolishProvider::OpenAI);
    EXPECT_EQ(storedObject().value(s("polishProvider")).toString(), s("openai"));
    EXPECT_TRUE(storedObject().value(s("didChooseModel")).toBool());
}

TEST_F(ConfigFile, LocalModelMigrationFallsBackWhenTheModelIsGone)
{
    const QString model = QDir(root()).filePath(QStringLiteral("model"));
    const QString json =
        QStringLiteral(R"({"didChooseModel": true, "polishProvider": "local", "modelPath": "%1"})");
    writeAll(configPath(), json.arg(model).toUtf8());
    EXPECT_EQ(QuendaConfig::load().polishProvider, PolishProvider::OpenAI);
    EXPECT_EQ(storedObject().value(s("polishProvider")).toString(), s("openai"));

    writeAll(QDir(model).filePath(QStringLiteral("config.json")), "{}");
    writeAll(configPath(), json.arg(model).toUtf8());
    EXPECT_EQ(QuendaConfig::load().polishProvider, PolishProvider::Local);
}

TEST_F(ConfigFile, UndecodableFileIsKeptAsideBeforeItIsReplaced)
{
    const QByteArray broken = R"({"port": "17321", "dictionary": "precious -> words"})";
    writeAll(configPath(), broken);
    EXPECT_EQ(QuendaConfig::read(), QuendaConfig::standard());
    EXPECT_EQ(QuendaConfig::load(), QuendaConfig::standard());
    EXPECT_EQ(readAll(configPath()), broken); // reading or loading alone never touches it

    ASSERT_TRUE(QuendaConfig::standard().save());
    const QStringList aside = keptAside(s("config.json"));
    ASSERT_EQ(aside.size(), 1);
    EXPECT_EQ(readAll(supportFile(aside[0])), broken);
    EXPECT_TRUE(QuendaConfig::decode(readAll(configPath())));

    // Only the first write after the failed load moves a file aside.
    ASSERT_TRUE(QuendaConfig::standard().save());
    EXPECT_EQ(keptAside(s("config.json")).size(), 1);
}

TEST_F(ConfigFile, FailedWriteReportsFalseAndLeavesTheOldFileWhole)
{
    ASSERT_TRUE(QuendaConfig::standard().save());
    const QByteArray before = readAll(configPath());

    // A file-size limit makes the write fail even for root.
    struct rlimit old {};
    ::getrlimit(RLIMIT_FSIZE, &old);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit tiny = old;
    tiny.rlim_cur = 64;
    ::setrlimit(RLIMIT_FSIZE, &tiny);
    QuendaConfig changed = QuendaConfig::standard();
    changed.dictionary = s("new words");
    const bool saved = changed.save();
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_FALSE(saved);
    EXPECT_EQ(readAll(configPath()), before);
    EXPECT_EQ(QDir(SupportPaths::directory()).entryList(QDir::Files | QDir::Hidden).size(), 1);
}
