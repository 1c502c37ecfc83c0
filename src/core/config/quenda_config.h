#pragma once

#include "core/model/app_style_profile.h"
#include "core/model/asr_engine.h"
#include "core/model/correction_endpoint.h"
#include "core/model/history_entry.h"
#include "core/model/hotkey.h"
#include "core/model/note_destination.h"
#include "core/model/others_audio.h"
#include "core/model/overlay_result_size.h"
#include "core/model/polish_provider.h"
#include "core/model/result_placement_anchor.h"
#include "core/model/speech_server.h"

#include <QJsonObject>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

// The whole user configuration, kept in "config.json" in the support folder. The enum fields and
// the note destination are stored as text and decoded once, by fromJson.
struct QuendaConfig {
    QString modelPath;
    QString whisperModel;
    AsrEngine asrEngine = AsrEngineText::table.fallback();
    qint64 asrQuality = 4; // 0...4
    PolishProvider polishProvider = PolishProviderText::table.fallback();
    QString openAIModel;       // legacy mirror of the first endpoint
    QString correctionBaseURL; // legacy mirror of the first endpoint
    QString correctionKind;    // legacy mirror of the first endpoint
    bool correctionFallback = false;
    NoteDestination noteDestination;
    QList<CorrectionEndpoint> correctionEndpoints;
    bool didChooseModel = true;
    QList<AppStyleProfile> appStyles;
    QString language;
    QString nativeLanguage;
    QString style;
    QString instructions;
    QString dictionary;
    bool commandMode = true;
    bool autoCorrect = true;
    Hotkey hotkey = HotkeyText::table.fallback();
    bool playSounds = true;
    OthersAudio othersAudio = OthersAudioText::table.fallback();
    bool learnEdits = true;
    bool launchAtLogin = true;
    bool onboarded = false;
    qint64 port = 17321;
    std::optional<double> widgetX;
    std::optional<double> widgetY;
    std::optional<qint64> widgetDisplayID;
    bool widgetFollowActiveScreen = true;
    bool showWidget = false;
    OverlayResultSize overlayResultSize = OverlayResultSizeText::table.fallback();
    qint64 overlayResultDismissSeconds = 15;
    qint64 historyKeepHours = 168;  // below 1: no age limit
    qint64 historyMaxEntries = 500; // below 1: no count limit
    bool showDictationPreview = true;
    qint64 dictationPreviewDismissSeconds = 1;
    bool resultPlacementFixed = true;
    QString resultPlacementScreen;
    ResultPlacementAnchor resultPlacementAnchor = ResultPlacementAnchorText::table.fallback();
    // The user's own speech server: with "whisper" as the engine, dictations go to its
    // OpenAI-compatible transcription route; "" leaves them to the built-in recogniser.
    QString speechBaseURL;
    QString speechModel;

    // The defaults; computed once, so its endpoint keeps one id for the whole run.
    static const QuendaConfig& standard();
    // The record of a user who has none yet: the defaults, with the desktop's language (QLocale())
    // as theirs where it is one translations offer.
    static QuendaConfig fresh();
    static const QString& defaultModel();
    // The record a snapshot run shows instead of the user's.
    static QuendaConfig snapshotDemo();
    static const QStringList& whisperModelsByQuality();
    static std::optional<qint64> quality(const QString& whisperModel);

    // The configuration from the file, decoded leniently and migrated in memory; never fails and
    // never writes, so any reader may call it as often as it likes. A file that does not decode
    // gives the defaults and is kept aside by the next save.
    static QuendaConfig read();
    // The start-up load, done once by the app's state: read(), and a migrated record is written
    // back. Every other reader uses read(), or a migration would overwrite what the user chose since.
    static QuendaConfig load();
    // Writes the file atomically; false when nothing was written.
    bool save() const;

    QJsonObject toJson() const;
    // Fails only on a wrongly typed value; every missing key takes its default.
    static std::optional<QuendaConfig> fromJson(const QJsonObject& object);
    static std::optional<QuendaConfig> decode(const QByteArray& bytes);
    QByteArray encode() const;

    // Guarantees a non-empty endpoint list and mirrors the first endpoint into the legacy fields.
    void syncLegacyCorrectionFields();

    // ---- Queries and choice tables (quenda_config_queries.cpp) ----
    static const QList<qint64>& whistleDepthsByQuality();
    static const QList<qint64>& historyKeepChoices();             // hours; 0 keeps any age
    static const QList<qint64>& historyLimitChoices();            // 0 keeps any number
    static const QList<qint64>& overlayDismissChoices();          // seconds
    static const QList<qint64>& dictationPreviewDismissChoices(); // seconds

    QList<CorrectionEndpoint> enabledCorrectionEndpoints() const;
    // The endpoints a correction tries, in order: every enabled one with fallback, else the first.
    QList<CorrectionEndpoint> activeCorrectionEndpoints() const;
    QString resolvedCorrectionBaseURL() const;
    // The server dictations go to; none while the built-in recogniser transcribes them.
    std::optional<SpeechServer> speechServer() const;
    // The languages the recogniser that writes the dictations hears, "auto" first.
    QStringList dictationLanguages() const;
    // Whether the folder holds a local polishing model; a local provider without one falls back
    // to the endpoints when the configuration is next read.
    static bool holdsLocalModel(const QString& folder);
    // The stored key of an endpoint's provider, "" when none.
    using EndpointKey = std::function<QString(const CorrectionEndpoint&)>;
    // Whether a correction request can be made; `hasKey` tells whether the general key is set.
    bool correctionConfigured(bool hasKey, const EndpointKey& keyFor) const;
    // The entries the retention settings keep at `now`, in their order.
    QList<HistoryEntry> trimmedHistory(const QList<HistoryEntry>& entries, const QDateTime& now) const;
    // ---- end of queries ----

    friend bool operator==(const QuendaConfig&, const QuendaConfig&) = default;
};
