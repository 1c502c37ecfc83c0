#include "core/config/quenda_config.h"

#include "core/model/apple_notes_folder.h"
#include "core/model/translate_language.h"

#include <QDir>
#include <QLocale>

const QString& QuendaConfig::defaultModel()
{
    static const QString path =
        QDir(QDir::homePath()).filePath(QStringLiteral("Models/Qwen3.8-27B-Uncensored-MLX/4-bit"));
    return path;
}

const QStringList& QuendaConfig::whisperModelsByQuality()
{
    static const QStringList models{
        QStringLiteral("mlx-community/whisper-tiny"),
        QStringLiteral("mlx-community/whisper-base-mlx"),
        QStringLiteral("mlx-community/whisper-small-mlx"),
        QStringLiteral("mlx-community/whisper-medium-mlx"),
        QStringLiteral("mlx-community/whisper-large-v3-turbo"),
    };
    return models;
}

std::optional<qint64> QuendaConfig::quality(const QString& whisperModel)
{
    const qsizetype index = whisperModelsByQuality().indexOf(whisperModel);
    if (index < 0)
        return std::nullopt;
    return index;
}

const QuendaConfig& QuendaConfig::standard()
{
    static const QuendaConfig config = [] {
        QuendaConfig c;
        c.modelPath = defaultModel();
        c.whisperModel = whisperModelsByQuality().last();
        c.openAIModel = QStringLiteral("auto");
        c.correctionKind = QString(CorrectionEndpoint::openAI().kind);
        c.noteDestination = {AppleNotesFolder{QStringLiteral("iCloud"), QStringLiteral("Notes")}};
        c.correctionEndpoints = {{QUuid::createUuid(), QString(CorrectionEndpoint::openAI().kind),
                                  QStringLiteral("auto"), QString(), true}};
        c.language = QStringLiteral("auto");
        c.nativeLanguage = QStringLiteral("de");
        c.style = QStringLiteral("auto");
        // The enum fields start at their tables' fallbacks (the providers polish); X11 never reports
        // the Fn key, so the hotkey's is right Control.
        c.resultPlacementScreen = QStringLiteral("pointer");
        // The name OpenAI's route expects; local Whisper servers take any.
        c.speechModel = QStringLiteral("whisper-1");
        return c;
    }();
    return config;
}

QuendaConfig QuendaConfig::fresh()
{
    QuendaConfig c = standard();
    const QString code = QLocale().name().section(u'_', 0, 0);
    for (const TranslateLanguage& language : TranslateLanguage::all()) {
        if (language.id == code)
            c.nativeLanguage = code;
    }
    return c;
}

QuendaConfig QuendaConfig::snapshotDemo()
{
    QuendaConfig c = standard();
    c.modelPath.clear();
    c.correctionFallback = true;
    c.correctionEndpoints = {
        {QUuid::createUuid(), QString(CorrectionEndpoint::openAI().kind), QStringLiteral("auto"), QString(),
         true},
        {QUuid::createUuid(), QString(CorrectionEndpoint::ownServer().kind), QStringLiteral("llama3.2"),
         QStringLiteral("http://127.0.0.1:11434/v1"), true},
    };
    c.didChooseModel = true;
    c.onboarded = true;
    c.dictionary = QStringLiteral("morvan quenda -> Morvane Quenda\ntallbrook -> Tallbrook");
    const auto profile = [](const char* id, const char* name, const char* style) {
        return AppStyleProfile{QString::fromUtf8(id), QString::fromUtf8(name), QString::fromUtf8(style),
                               QString::fromUtf8(style), false};
    };
    c.appStyles = {
        profile("com.apple.mail", "Mail", "email"),     profile("com.apple.MobileSMS", "Nachrichten", "chat"),
        profile("com.apple.Notes", "Notizen", "notes"), profile("com.apple.Terminal", "Terminal", "code"),
        profile("com.microsoft.Word", "Word", "notes"), profile("com.tinyspeck.slackmacgap", "Slack", "chat"),
    };
    c.syncLegacyCorrectionFields();
    return c;
}

void QuendaConfig::syncLegacyCorrectionFields()
{
    if (correctionEndpoints.isEmpty()) {
        correctionEndpoints.append({QUuid::createUuid(), QString(CorrectionEndpoint::openAI().kind),
                                    openAIModel.isEmpty() ? QStringLiteral("auto") : openAIModel, QString(),
                                    true});
    }
    const CorrectionEndpoint& first = correctionEndpoints.front();
    correctionKind = first.kind;
    openAIModel = first.model;
    correctionBaseURL = first.baseURL;
}
