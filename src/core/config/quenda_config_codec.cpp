// Reading and loading the configuration file with its migrations, and saving it.
#include "core/config/quenda_config.h"

#include "core/base/json_file.h"
#include "core/base/support_paths.h"

#include <QJsonDocument>

namespace {

QString configPath()
{
    return SupportPaths::file(QStringLiteral("config.json"));
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
    if (c.polishProvider == PolishProvider::Local && !QuendaConfig::holdsLocalModel(c.modelPath)) {
        c.polishProvider = PolishProvider::OpenAI;
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
    return stored ? stored->config : fresh();
}

QuendaConfig QuendaConfig::load()
{
    const auto stored = readStored();
    if (!stored)
        return fresh();
    if (stored->migrated)
        stored->config.save();
    return stored->config;
}

bool QuendaConfig::save() const
{
    return JsonFile::writeAtomically(configPath(), encode());
}
