#include "core/config/quenda_config.h"

#include <QDir>
#include <QFileInfo>

#include <limits>
#include <optional>

namespace {

bool isBlank(const QString& text)
{
    return text.trimmed().isEmpty();
}

// `hours` before `now`; none when that instant cannot be represented.
std::optional<QDateTime> hoursBefore(const QDateTime& now, qint64 hours)
{
    constexpr qint64 secondsPerHour = 3600;
    if (!now.isValid() || hours > std::numeric_limits<qint64>::max() / secondsPerHour)
        return std::nullopt;
    const QDateTime cutoff = now.addSecs(-hours * secondsPerHour);
    if (!cutoff.isValid())
        return std::nullopt;
    return cutoff;
}

} // namespace

const QList<qint64>& QuendaConfig::whistleDepthsByQuality()
{
    static const QList<qint64> depths{2, 3, 4, 6, 8};
    return depths;
}

QStringList QuendaConfig::dictationLanguages() const
{
    // The built-in recogniser hears English only; automatic detection then settles on it.
    if (!speechServer())
        return {QStringLiteral("auto"), QStringLiteral("en")};
    return {QStringLiteral("auto"), QStringLiteral("de"), QStringLiteral("en")};
}

const QList<qint64>& QuendaConfig::historyKeepChoices()
{
    static const QList<qint64> hours{0, 1, 2, 6, 12, 24, 48, 168, 720, 2160, 8760};
    return hours;
}

const QList<qint64>& QuendaConfig::historyLimitChoices()
{
    static const QList<qint64> counts{1, 5, 10, 25, 50, 100, 250, 500, 1000, 0};
    return counts;
}

const QList<qint64>& QuendaConfig::overlayDismissChoices()
{
    static const QList<qint64> seconds{1, 2, 3, 5, 10, 15, 30, 60, 0};
    return seconds;
}

const QList<qint64>& QuendaConfig::dictationPreviewDismissChoices()
{
    static const QList<qint64> seconds{1, 2, 3, 5, 10, 0};
    return seconds;
}

std::optional<SpeechServer> QuendaConfig::speechServer() const
{
    const QString base = speechBaseURL.trimmed();
    if (asrEngine != AsrEngine::Whisper || base.isEmpty())
        return std::nullopt;
    return SpeechServer{base, speechModel.trimmed()};
}

QList<CorrectionEndpoint> QuendaConfig::enabledCorrectionEndpoints() const
{
    QList<CorrectionEndpoint> enabled;
    for (const auto& endpoint : correctionEndpoints) {
        if (endpoint.enabled)
            enabled.append(endpoint);
    }
    return enabled;
}

QList<CorrectionEndpoint> QuendaConfig::activeCorrectionEndpoints() const
{
    QList<CorrectionEndpoint> enabled = enabledCorrectionEndpoints();
    if (!correctionFallback && enabled.size() > 1)
        enabled.resize(1);
    return enabled;
}

bool QuendaConfig::holdsLocalModel(const QString& folder)
{
    // An empty path would name the working folder.
    return !folder.isEmpty() && QFileInfo::exists(QDir(folder).filePath(QStringLiteral("config.json")));
}

QString QuendaConfig::resolvedCorrectionBaseURL() const
{
    const QList<CorrectionEndpoint> active = activeCorrectionEndpoints();
    if (!active.isEmpty())
        return active.first().resolvedBaseURL();
    // The legacy fields predate the other built-in providers: their only other URL is OpenAI's.
    const auto provider = CorrectionEndpoint::providerOf(correctionKind);
    if (provider && provider->usesOwnBaseURL())
        return correctionBaseURL.trimmed();
    return CorrectionEndpoint::openAIBaseURL();
}

bool QuendaConfig::correctionConfigured(bool hasKey, const EndpointKey& keyFor) const
{
    if (polishProvider != PolishProvider::OpenAI)
        return false;
    for (const auto& endpoint : activeCorrectionEndpoints()) {
        const auto provider = CorrectionEndpoint::providerOf(endpoint.kind);
        if (provider && provider->generalKey) {
            if (hasKey)
                return true;
        } else if (provider && provider->usesOwnBaseURL()) {
            if (!isBlank(endpoint.baseURL))
                return true;
        } else if (keyFor && !isBlank(keyFor(endpoint))) {
            return true;
        }
    }
    return false;
}

QList<HistoryEntry> QuendaConfig::trimmedHistory(const QList<HistoryEntry>& entries,
                                                 const QDateTime& now) const
{
    QList<HistoryEntry> kept;
    // A cut-off that cannot be computed means no age limit rather than dropping everything.
    const auto cutoff = historyKeepHours >= 1 ? hoursBefore(now, historyKeepHours) : std::nullopt;
    if (cutoff) {
        for (const auto& entry : entries) {
            if (entry.date >= *cutoff)
                kept.append(entry);
        }
    } else {
        kept = entries;
    }
    if (historyMaxEntries >= 1 && kept.size() > historyMaxEntries)
        kept.resize(historyMaxEntries);
    return kept;
}
