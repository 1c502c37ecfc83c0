// JSON form of the configuration, reading and loading with its migrations, and saving.
#include "core/config/quenda_config.h"

#include "core/base/json_fields.h"
#include "core/base/json_file.h"
#include "core/base/support_paths.h"
#include "core/config/config_key.h"
#include "core/model/apple_notes_folder.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QUrl>

#include <limits>

namespace {

QString configPath()
{
    return SupportPaths::file(QStringLiteral("config.json"));
}

QString inferKind(const QString& baseURL)
{
    const QUrl url(baseURL.trimmed(), QUrl::StrictMode);
    if (url.isValid() && !url.host().isEmpty() && url.host().toLower() != CorrectionEndpoint::openAIHost())
        return QStringLiteral("custom");
    return QStringLiteral("chatgpt");
}

// Days of an old file as hours; saturates instead of overflowing.
qint64 daysToHours(qint64 days)
{
    constexpr qint64 max = std::numeric_limits<qint64>::max();
    days = std::max<qint64>(0, days);
    return days > max / 24 ? max : days * 24;
}

qint64 atLeastZero(std::optional<qint64> value, qint64 fallback)
{
    return std::max<qint64>(0, value.value_or(fallback));
}

// Older files' choices brought up to date; true when anything changed.
bool migrate(QuendaConfig& c)
{
    bool changed = false;
    if (!c.didChooseModel) {
        if (c.openAIModel.isEmpty() || c.openAIModel == QLatin1String("gpt-4.1-mini"))
            c.openAIModel = QStringLiteral("auto");
        c.didChooseModel = true;
        changed = true;
    }
    if (c.polishProvider == QLatin1String("local") &&
        !QFileInfo::exists(QDir(c.modelPath).filePath(QStringLiteral("config.json")))) {
        c.polishProvider = QStringLiteral("openai");
        changed = true;
    }
    return changed;
}

struct Stored {
    QuendaConfig config;
    bool migrated = false; // the record differs from what the file holds
};

// The file decoded and migrated in memory; none when it is missing or does not decode.
std::optional<Stored> readStored()
{
    auto decoded = JsonFile::load(configPath(), &QuendaConfig::decode);
    if (!decoded)
        return std::nullopt;
    Stored stored{std::move(*decoded)};
    stored.migrated = migrate(stored.config);
    stored.config.syncLegacyCorrectionFields();
    return stored;
}

} // namespace

QJsonObject QuendaConfig::toJson() const
{
    // The file always holds a non-empty endpoint list and matching legacy fields.
    QuendaConfig synced = *this;
    synced.syncLegacyCorrectionFields();

    QJsonObject o;
    for (const ConfigKey& key : ConfigKey::all()) {
        if (const QJsonValue value = key.value(synced); !value.isUndefined())
            o.insert(key.name, value);
    }
    // The older form of "othersAudio", still written so a file read by an older version keeps the choice.
    o.insert(QStringLiteral("muteOthers"), othersAudio != OthersAudio::Off);
    return o;
}

std::optional<QuendaConfig> QuendaConfig::fromJson(const QJsonObject& object)
{
    if (!ConfigKey::typesMatch(object))
        return std::nullopt;
    const QuendaConfig& d = standard();
    JsonFields f(object);
    QuendaConfig c;

    c.modelPath = f.string(QStringLiteral("modelPath")).value_or(d.modelPath);
    c.whisperModel = f.string(QStringLiteral("whisperModel")).value_or(d.whisperModel);
    c.polishProvider = f.string(QStringLiteral("polishProvider")).value_or(d.polishProvider);
    c.openAIModel = f.string(QStringLiteral("openAIModel")).value_or(d.openAIModel);

    c.asrEngine = AsrEngineText::table.decode(f.string(QStringLiteral("asrEngine")));

    if (const auto q = f.integer(QStringLiteral("asrQuality")))
        c.asrQuality = std::clamp<qint64>(*q, 0, 4);
    else
        c.asrQuality = quality(c.whisperModel).value_or(4);

    c.correctionBaseURL = f.string(QStringLiteral("correctionBaseURL")).value_or(QString());
    const auto kind = f.string(QStringLiteral("correctionKind"));
    c.correctionKind =
        kind && CorrectionEndpoint::knownKinds().contains(*kind) ? *kind : inferKind(c.correctionBaseURL);

    c.didChooseModel = f.boolean(QStringLiteral("didChooseModel")).value_or(false);
    c.correctionFallback = f.boolean(QStringLiteral("correctionFallback")).value_or(false);
    c.showWidget = f.boolean(QStringLiteral("showWidget")).value_or(false);

    if (const auto styles = f.array(QStringLiteral("appStyles"))) {
        auto profiles = JsonFile::decodeObjects<AppStyleProfile>(*styles, &AppStyleProfile::fromJson);
        if (!profiles)
            return std::nullopt;
        c.appStyles = *profiles;
    }

    c.language = f.string(QStringLiteral("language")).value_or(d.language);
    c.nativeLanguage = f.string(QStringLiteral("nativeLanguage")).value_or(d.nativeLanguage);
    c.style = f.string(QStringLiteral("style")).value_or(d.style);
    c.instructions = f.string(QStringLiteral("instructions")).value_or(d.instructions);
    c.dictionary = f.string(QStringLiteral("dictionary")).value_or(d.dictionary);
    c.hotkey = HotkeyText::table.decode(f.string(QStringLiteral("hotkey")));

    c.commandMode = f.boolean(QStringLiteral("commandMode")).value_or(d.commandMode);
    c.autoCorrect = f.boolean(QStringLiteral("autoCorrect")).value_or(d.autoCorrect);
    c.playSounds = f.boolean(QStringLiteral("playSounds")).value_or(d.playSounds);
    c.launchAtLogin = f.boolean(QStringLiteral("launchAtLogin")).value_or(d.launchAtLogin);
    c.onboarded = f.boolean(QStringLiteral("onboarded")).value_or(d.onboarded);
    c.learnEdits = f.boolean(QStringLiteral("learnEdits")).value_or(true);
    c.widgetFollowActiveScreen = f.boolean(QStringLiteral("widgetFollowActiveScreen")).value_or(true);
    c.showDictationPreview = f.boolean(QStringLiteral("showDictationPreview")).value_or(true);
    c.resultPlacementFixed = f.boolean(QStringLiteral("resultPlacementFixed")).value_or(true);

    // "muteOthers" is the older form and only read when "othersAudio" gives no answer; where it
    // says nothing against muting, the table's fallback (mute) applies.
    const auto others = f.string(QStringLiteral("othersAudio"));
    if (const auto mode = others ? OthersAudioText::table.find(*others) : std::nullopt)
        c.othersAudio = *mode;
    else if (!f.boolean(QStringLiteral("muteOthers")).value_or(true))
        c.othersAudio = OthersAudio::Off;
    else
        c.othersAudio = OthersAudioText::table.fallback();

    c.port = f.integer(QStringLiteral("port")).value_or(d.port);
    c.widgetX = f.number(QStringLiteral("widgetX"));
    c.widgetY = f.number(QStringLiteral("widgetY"));
    c.widgetDisplayID = f.integer(QStringLiteral("widgetDisplayID"));

    c.overlayResultSize = OverlayResultSizeText::table.decode(f.string(QStringLiteral("overlayResultSize")));

    // "historyKeepDays" is the older form and only read when "historyKeepHours" is absent.
    if (const auto hours = f.integer(QStringLiteral("historyKeepHours")))
        c.historyKeepHours = std::max<qint64>(0, *hours);
    else if (const auto days = f.integer(QStringLiteral("historyKeepDays")))
        c.historyKeepHours = daysToHours(*days);
    else
        c.historyKeepHours = 168;

    c.historyMaxEntries = atLeastZero(f.integer(QStringLiteral("historyMaxEntries")), 500);
    c.overlayResultDismissSeconds = atLeastZero(f.integer(QStringLiteral("overlayResultDismissSeconds")), 15);
    c.dictationPreviewDismissSeconds =
        atLeastZero(f.integer(QStringLiteral("dictationPreviewDismissSeconds")), 1);

    const auto screen = f.string(QStringLiteral("resultPlacementScreen"));
    c.resultPlacementScreen = screen && !screen->isEmpty() ? *screen : QStringLiteral("pointer");
    c.resultPlacementAnchor =
        ResultPlacementAnchorText::table.decode(f.string(QStringLiteral("resultPlacementAnchor")));

    if (const auto endpoints = f.array(QStringLiteral("correctionEndpoints"))) {
        auto list = JsonFile::decodeObjects<CorrectionEndpoint>(*endpoints, &CorrectionEndpoint::fromJson);
        if (!list)
            return std::nullopt;
        c.correctionEndpoints = *list;
    }
    if (c.correctionEndpoints.isEmpty()) {
        c.correctionEndpoints = {
            {QUuid::createUuid(), c.correctionKind, c.openAIModel, c.correctionBaseURL, true}};
    }

    const auto destination = f.string(QStringLiteral("noteDestination"));
    c.noteDestination =
        destination && (*destination == QLatin1String("quenda") || AppleNotesFolder::decode(*destination))
            ? *destination
            : d.noteDestination;

    if (f.failed())
        return std::nullopt;
    c.syncLegacyCorrectionFields();
    return c;
}

std::optional<QuendaConfig> QuendaConfig::decode(const QByteArray& bytes)
{
    const auto object = JsonText::parseObject(bytes);
    return object ? fromJson(*object) : std::nullopt;
}

QByteArray QuendaConfig::encode() const
{
    // QJsonObject keeps its keys sorted, which is the order the file is written in.
    return QJsonDocument(toJson()).toJson(QJsonDocument::Indented);
}

QuendaConfig QuendaConfig::read()
{
    const auto stored = readStored();
    return stored ? stored->config : standard();
}

QuendaConfig QuendaConfig::load()
{
    const auto stored = readStored();
    if (!stored)
        return standard();
    if (stored->migrated)
        stored->config.save();
    return stored->config;
}

bool QuendaConfig::save() const
{
    return JsonFile::writeAtomically(configPath(), encode());
}
