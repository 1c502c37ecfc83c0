// The stored keys of the configuration, and its JSON form written and read through them.
#include "core/config/config_key.h"

#include "core/base/json_file.h"
#include "core/config/quenda_config.h"

#include <QJsonArray>
#include <QUrl>

#include <algorithm>
#include <limits>
#include <type_traits>
#include <utility>

namespace {

using C = QuendaConfig;
using Decode = void (*)(C&, const QJsonValue&, JsonFields&);

// The older form of "othersAudio", still written so an older version reading the file keeps the choice.
constexpr QLatin1String muteOthersKey("muteOthers");
// The older form of "historyKeepHours"; read, never written.
constexpr QLatin1String historyKeepDaysKey("historyKeepDays");

template <auto member> using FieldOf = std::remove_reference_t<decltype(std::declval<C&>().*member)>;

// The JSON type a stored field's value has.
template <typename T> constexpr JsonType typeOf = JsonType::String;
template <> constexpr JsonType typeOf<bool> = JsonType::Bool;
template <> constexpr JsonType typeOf<qint64> = JsonType::Integer;
template <> constexpr JsonType typeOf<double> = JsonType::Number;
template <typename T> constexpr JsonType typeOf<std::optional<T>> = typeOf<T>;
template <typename T> constexpr JsonType typeOf<QList<T>> = JsonType::Array;

template <typename T> QJsonValue json(const T& value)
{
    return QJsonValue(value);
}

template <typename T> QJsonValue json(const std::optional<T>& value)
{
    return value ? json(*value) : QJsonValue(QJsonValue::Undefined);
}

template <typename Record> QJsonValue json(const QList<Record>& records)
{
    QJsonArray array;
    for (const Record& record : records)
        array.append(record.toJson());
    return array;
}

QJsonValue json(const NoteDestination& destination)
{
    return destination.text();
}

template <typename T> T read(const QJsonValue& v)
{
    if constexpr (typeOf<T> == JsonType::Bool)
        return v.toBool();
    else if constexpr (typeOf<T> == JsonType::Integer)
        return v.toInteger();
    else if constexpr (typeOf<T> == JsonType::Number)
        return v.toDouble();
    else
        return v.toString();
}

template <auto member> QJsonValue write(const C& c)
{
    return json(c.*member);
}

// A present value is kept as it is; a missing key leaves the default.
template <auto member> void keep(C& c, const QJsonValue& v, JsonFields&)
{
    if (!v.isUndefined())
        c.*member = read<FieldOf<member>>(v);
}

template <auto member> void notNegative(C& c, const QJsonValue& v, JsonFields&)
{
    if (!v.isUndefined())
        c.*member = std::max<qint64>(0, v.toInteger());
}

// A list of records; one record that does not decode fails the whole configuration.
template <auto member> void records(C& c, const QJsonValue& v, JsonFields& older)
{
    using Record = typename FieldOf<member>::value_type;
    auto list = JsonFile::decodeObjects<Record>(v.toArray(), &Record::fromJson);
    if (!list)
        older.fail();
    c.*member = list.value_or(FieldOf<member>());
}

template <auto member> constexpr ConfigKey key(const char* name, Decode decode = keep<member>)
{
    return {QLatin1String(name), typeOf<FieldOf<member>>, write<member>, decode};
}

// An enum field, stored as its table's text, the form every older file holds; any other text
// becomes the table's fallback.
template <auto member, const auto& table> QJsonValue writeText(const C& c)
{
    return table.text(c.*member);
}

template <auto member, const auto& table> void decodeText(C& c, const QJsonValue& v, JsonFields&)
{
    c.*member = table.decode(v.toString());
}

template <auto member, const auto& table>
constexpr ConfigKey choice(const char* name, Decode decode = decodeText<member, table>)
{
    return {QLatin1String(name), JsonType::String, writeText<member, table>, decode};
}

QString inferKind(const QString& baseURL)
{
    const QUrl url(baseURL.trimmed(), QUrl::StrictMode);
    if (url.isValid() && !url.host().isEmpty() && url.host().toLower() != CorrectionEndpoint::openAIHost())
        return CorrectionEndpoint::ownServer().kind;
    return CorrectionEndpoint::openAI().kind;
}

// Without a stored step, the whisper model's place in the quality list gives it.
void decodeQuality(C& c, const QJsonValue& v, JsonFields&)
{
    c.asrQuality =
        v.isUndefined() ? C::quality(c.whisperModel).value_or(4) : std::clamp<qint64>(v.toInteger(), 0, 4);
}

void decodeKind(C& c, const QJsonValue& v, JsonFields&)
{
    const QString kind = v.toString();
    c.correctionKind =
        CorrectionEndpoint::knownKinds().contains(kind) ? kind : inferKind(c.correctionBaseURL);
}

void decodeDestination(C& c, const QJsonValue& v, JsonFields&)
{
    if (const auto destination = NoteDestination::decode(v.toString()))
        c.noteDestination = *destination;
}

// An empty list counts as none: the legacy fields, read by earlier rows, make the one endpoint.
void decodeEndpoints(C& c, const QJsonValue& v, JsonFields& older)
{
    records<&C::correctionEndpoints>(c, v, older);
    if (c.correctionEndpoints.isEmpty())
        c.correctionEndpoints = {
            {QUuid::createUuid(), c.correctionKind, c.openAIModel, c.correctionBaseURL, true}};
}

// Missing only from files older than the model-choice migration, which it triggers.
void decodeChoiceMade(C& c, const QJsonValue& v, JsonFields&)
{
    c.didChooseModel = v.toBool(false);
}

// The older key is read only when "othersAudio" gives no answer; where it says nothing against
// muting, the table's fallback (mute) applies.
void decodeOthersAudio(C& c, const QJsonValue& v, JsonFields& older)
{
    if (const auto mode = OthersAudioText::table.find(v.toString()))
        c.othersAudio = *mode;
    else if (!older.boolean(muteOthersKey).value_or(true))
        c.othersAudio = OthersAudio::Off;
    else
        c.othersAudio = OthersAudioText::table.fallback();
}

// Days of an old file as hours; saturates instead of overflowing.
void decodeKeepHours(C& c, const QJsonValue& v, JsonFields& older)
{
    constexpr qint64 max = std::numeric_limits<qint64>::max();
    if (!v.isUndefined()) {
        notNegative<&C::historyKeepHours>(c, v, older);
    } else if (const auto days = older.integer(historyKeepDaysKey)) {
        const qint64 kept = std::max<qint64>(0, *days);
        c.historyKeepHours = kept > max / 24 ? max : kept * 24;
    }
}

void decodeScreen(C& c, const QJsonValue& v, JsonFields&)
{
    if (!v.toString().isEmpty())
        c.resultPlacementScreen = v.toString();
}

// clang-format off
constexpr ConfigKey keys[] = {
    key<&C::modelPath>("modelPath"),
    key<&C::whisperModel>("whisperModel"),
    choice<&C::asrEngine, AsrEngineText::table>("asrEngine"),
    key<&C::asrQuality>("asrQuality", decodeQuality),
    choice<&C::polishProvider, PolishProviderText::table>("polishProvider"),
    key<&C::openAIModel>("openAIModel"),
    key<&C::correctionBaseURL>("correctionBaseURL"),
    key<&C::correctionKind>("correctionKind", decodeKind),
    key<&C::correctionFallback>("correctionFallback"),
    key<&C::noteDestination>("noteDestination", decodeDestination),
    key<&C::correctionEndpoints>("correctionEndpoints", decodeEndpoints),
    key<&C::didChooseModel>("didChooseModel", decodeChoiceMade),
    key<&C::appStyles>("appStyles", records<&C::appStyles>),
    key<&C::language>("language"),
    key<&C::nativeLanguage>("nativeLanguage"),
    key<&C::style>("style"),
    key<&C::instructions>("instructions"),
    key<&C::dictionary>("dictionary"),
    key<&C::commandMode>("commandMode"),
    key<&C::autoCorrect>("autoCorrect"),
    choice<&C::hotkey, HotkeyText::table>("hotkey"),
    key<&C::playSounds>("playSounds"),
    choice<&C::othersAudio, OthersAudioText::table>("othersAudio", decodeOthersAudio),
    key<&C::learnEdits>("learnEdits"),
    key<&C::launchAtLogin>("launchAtLogin"),
    key<&C::onboarded>("onboarded"),
    key<&C::port>("port"),
    key<&C::widgetX>("widgetX"),
    key<&C::widgetY>("widgetY"),
    key<&C::widgetDisplayID>("widgetDisplayID"),
    key<&C::widgetFollowActiveScreen>("widgetFollowActiveScreen"),
    key<&C::showWidget>("showWidget"),
    choice<&C::overlayResultSize, OverlayResultSizeText::table>("overlayResultSize"),
    key<&C::overlayResultDismissSeconds>("overlayResultDismissSeconds", notNegative<&C::overlayResultDismissSeconds>),
    key<&C::historyKeepHours>("historyKeepHours", decodeKeepHours),
    key<&C::historyMaxEntries>("historyMaxEntries", notNegative<&C::historyMaxEntries>),
    key<&C::showDictationPreview>("showDictationPreview"),
    key<&C::dictationPreviewDismissSeconds>("dictationPreviewDismissSeconds", notNegative<&C::dictationPreviewDismissSeconds>),
    key<&C::resultPlacementFixed>("resultPlacementFixed"),
    key<&C::resultPlacementScreen>("resultPlacementScreen", decodeScreen),
    choice<&C::resultPlacementAnchor, ResultPlacementAnchorText::table>("resultPlacementAnchor"),
    key<&C::speechBaseURL>("speechBaseURL"),
    key<&C::speechModel>("speechModel"),
};
// clang-format on

} // namespace

std::span<const ConfigKey> ConfigKey::all()
{
    return keys;
}

QJsonObject QuendaConfig::toJson() const
{
    // The file always holds a non-empty endpoint list and matching legacy fields.
    QuendaConfig synced = *this;
    synced.syncLegacyCorrectionFields();

    QJsonObject o;
    for (const ConfigKey& key : keys) {
        if (const QJsonValue value = key.encode(synced); !value.isUndefined())
            o.insert(key.name, value);
    }
    o.insert(muteOthersKey, othersAudio != OthersAudio::Off);
    return o;
}

std::optional<QuendaConfig> QuendaConfig::fromJson(const QJsonObject& object)
{
    JsonFields older(object);
    QuendaConfig c = standard();
    for (const ConfigKey& key : keys) {
        QJsonValue value = object.value(key.name);
        if (value.isNull())
            value = QJsonValue(QJsonValue::Undefined);
        else if (!value.isUndefined() && !JsonFields::holds(value, key.type))
            return std::nullopt;
        key.decode(c, value, older);
    }
    if (older.failed())
        return std::nullopt;
    c.syncLegacyCorrectionFields();
    return c;
}
