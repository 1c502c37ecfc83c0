#include "core/config/config_key.h"

#include "core/config/quenda_config.h"

#include <QJsonArray>

#include <algorithm>

namespace {

QJsonValue json(const QString& text)
{
    return text;
}

QJsonValue json(bool flag)
{
    return flag;
}

QJsonValue json(qint64 number)
{
    return number;
}

QJsonValue json(double number)
{
    return number;
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

template <auto member> QJsonValue stored(const QuendaConfig& config)
{
    return json(config.*member);
}

// An enum field is written as its table's text, the form every older file holds.
template <auto member, const auto& table> QJsonValue storedText(const QuendaConfig& config)
{
    return table.text(config.*member);
}

using C = QuendaConfig;
using T = JsonType;

constexpr ConfigKey kKeys[] = {
    {QLatin1String("modelPath"), T::String, stored<&C::modelPath>},
    {QLatin1String("whisperModel"), T::String, stored<&C::whisperModel>},
    {QLatin1String("asrEngine"), T::String, storedText<&C::asrEngine, AsrEngineText::table>},
    {QLatin1String("asrQuality"), T::Integer, stored<&C::asrQuality>},
    {QLatin1String("polishProvider"), T::String, stored<&C::polishProvider>},
    {QLatin1String("openAIModel"), T::String, stored<&C::openAIModel>},
    {QLatin1String("correctionBaseURL"), T::String, stored<&C::correctionBaseURL>},
    {QLatin1String("correctionKind"), T::String, stored<&C::correctionKind>},
    {QLatin1String("correctionFallback"), T::Bool, stored<&C::correctionFallback>},
    {QLatin1String("noteDestination"), T::String, stored<&C::noteDestination>},
    {QLatin1String("correctionEndpoints"), T::Array, stored<&C::correctionEndpoints>},
    {QLatin1String("didChooseModel"), T::Bool, stored<&C::didChooseModel>},
    {QLatin1String("appStyles"), T::Array, stored<&C::appStyles>},
    {QLatin1String("language"), T::String, stored<&C::language>},
    {QLatin1String("nativeLanguage"), T::String, stored<&C::nativeLanguage>},
    {QLatin1String("style"), T::String, stored<&C::style>},
    {QLatin1String("instructions"), T::String, stored<&C::instructions>},
    {QLatin1String("dictionary"), T::String, stored<&C::dictionary>},
    {QLatin1String("commandMode"), T::Bool, stored<&C::commandMode>},
    {QLatin1String("autoCorrect"), T::Bool, stored<&C::autoCorrect>},
    {QLatin1String("hotkey"), T::String, storedText<&C::hotkey, HotkeyText::table>},
    {QLatin1String("playSounds"), T::Bool, stored<&C::playSounds>},
    {QLatin1String("othersAudio"), T::String, storedText<&C::othersAudio, OthersAudioText::table>},
    {QLatin1String("learnEdits"), T::Bool, stored<&C::learnEdits>},
    {QLatin1String("launchAtLogin"), T::Bool, stored<&C::launchAtLogin>},
    {QLatin1String("onboarded"), T::Bool, stored<&C::onboarded>},
    {QLatin1String("port"), T::Integer, stored<&C::port>},
    {QLatin1String("widgetX"), T::Number, stored<&C::widgetX>},
    {QLatin1String("widgetY"), T::Number, stored<&C::widgetY>},
    {QLatin1String("widgetDisplayID"), T::Integer, stored<&C::widgetDisplayID>},
    {QLatin1String("widgetFollowActiveScreen"), T::Bool, stored<&C::widgetFollowActiveScreen>},
    {QLatin1String("showWidget"), T::Bool, stored<&C::showWidget>},
    {QLatin1String("overlayResultSize"), T::String,
     storedText<&C::overlayResultSize, OverlayResultSizeText::table>},
    {QLatin1String("overlayResultDismissSeconds"), T::Integer, stored<&C::overlayResultDismissSeconds>},
    {QLatin1String("historyKeepHours"), T::Integer, stored<&C::historyKeepHours>},
    {QLatin1String("historyMaxEntries"), T::Integer, stored<&C::historyMaxEntries>},
    {QLatin1String("showDictationPreview"), T::Bool, stored<&C::showDictationPreview>},
    {QLatin1String("dictationPreviewDismissSeconds"), T::Integer, stored<&C::dictationPreviewDismissSeconds>},
    {QLatin1String("resultPlacementFixed"), T::Bool, stored<&C::resultPlacementFixed>},
    {QLatin1String("resultPlacementScreen"), T::String, stored<&C::resultPlacementScreen>},
    {QLatin1String("resultPlacementAnchor"), T::String,
     storedText<&C::resultPlacementAnchor, ResultPlacementAnchorText::table>},
};

} // namespace

std::span<const ConfigKey> ConfigKey::all()
{
    return kKeys;
}

bool ConfigKey::typesMatch(const QJsonObject& object)
{
    return std::ranges::all_of(kKeys, [&](const ConfigKey& key) {
        const QJsonValue value = object.value(key.name);
        return value.isNull() || value.isUndefined() || JsonFields::holds(value, key.type);
    });
}
