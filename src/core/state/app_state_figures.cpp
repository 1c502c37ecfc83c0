// The home page's figures and the speech model's display name, computed from the history and the
// configuration at every read.
#include "core/state/app_state.h"

#include "core/base/word_count.h"
#include "core/text/l10n.h"

#include <algorithm>
#include <cmath>
#include <limits>

QList<HistoryEntry> AppState::dictations() const
{
    QList<HistoryEntry> out;
    std::copy_if(m_history.begin(), m_history.end(), std::back_inserter(out),
                 [](const HistoryEntry& e) { return e.isDictation(); });
    return out;
}

int AppState::totalWords() const
{
    int words = 0;
    for (const HistoryEntry& entry : dictations())
        words += wordCount(entry.text);
    return words;
}

int AppState::todayCount() const
{
    const QDate today = m_clock.now().toLocalTime().date();
    const QList<HistoryEntry> list = dictations();
    return int(std::count_if(list.begin(), list.end(),
                             [&](const HistoryEntry& e) { return e.date.toLocalTime().date() == today; }));
}

double AppState::minutesSaved() const
{
    double spoken = 0;
    for (const HistoryEntry& entry : m_history)
        spoken += entry.duration.value_or(0.0);
    return std::max(0.0, totalWords() / 40.0 - spoken / 60.0);
}

int AppState::speakingWPM() const
{
    double seconds = 0;
    int words = 0;
    for (const HistoryEntry& entry : m_history) {
        if (entry.duration && *entry.duration > 1.0) {
            seconds += *entry.duration;
            words += wordCount(entry.text);
        }
    }
    if (seconds <= 0)
        return 0;
    // std::round keeps halves away from zero.
    const double wpm = std::round(words / (seconds / 60.0));
    return int(std::min<double>(wpm, std::numeric_limits<int>::max()));
}

QString AppState::modelDisplayName() const
{
    const auto q = qsizetype(std::clamp<qint64>(m_config.asrQuality, 0, 4));
    if (m_config.asrEngine == AsrEngine::Whistle)
        return L10n::format(QStringLiteral("model.whistle.depth"),
                            {QuendaConfig::whistleDepthsByQuality().at(q)});
    const QStringList pieces =
        QuendaConfig::whisperModelsByQuality().at(q).split(QLatin1Char('/'), Qt::SkipEmptyParts);
    const QString name = pieces.isEmpty() ? L10n::s(QStringLiteral("model.local")) : pieces.last();
    return L10n::format(QStringLiteral("model.whisper"), {name});
}
